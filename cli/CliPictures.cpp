#include "CliPictures.h"

#include "GridPainter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

namespace {

// The commands report their own errors; Qt's notes (such as a missing runtime folder,
// which no file written here needs) would only puzzle the user.
void quietNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qt_message_output(type, context, message);
}

// QSvgGenerator opens a group for every change of pen, brush or font, and the painter
// sets them again for every candidate: a group that closes only to open again with the
// same attributes goes on instead, which halves a page of grids with candidates.
std::string mergeGroups(const QByteArray& svg)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(svg.size()));
    QByteArray header; // the group opened last
    qsizetype at = 0;
    while (at < svg.size()) {
        if (svg.at(at) == '<' && svg.mid(at, 3) == "<g ") {
            const qsizetype end = svg.indexOf('>', at);
            if (end < 0)
                break;
            header = svg.mid(at, end + 1 - at);
        } else if (!header.isEmpty() && svg.at(at) == '<' && svg.mid(at, 4) == "</g>") {
            qsizetype next = at + 4;
            while (next < svg.size() && (svg.at(next) == '\n' || svg.at(next) == ' '))
                ++next;
            if (svg.mid(next, header.size()) == header) {
                at = next + header.size();
                continue;
            }
        }
        out += svg.at(at++);
    }
    return out;
}

} // namespace

CliPictures::Gui::Gui()
{
    qInstallMessageHandler(quietNotes);
    static char name[] = "gridlark-cli";
    m_argv[0] = name;
    m_argv[1] = nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

CliPictures::Gui::~Gui() = default;

std::string CliPictures::inlineSvg(const GridPicture& picture, int side, const std::string& titleMarkup)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    QPainter painter(&svg);
    CGridPainter(picture).Paint(painter, QRectF(0, 0, side, side));
    painter.end();
    // Inline, the element needs no XML declaration before it; the generator's title
    // and description go, since it writes a title as it is, unescaped.
    QByteArray text = buffer.data();
    const qsizetype start = text.indexOf("<svg");
    const qsizetype title = text.indexOf("<title>");
    const qsizetype end = text.indexOf("</desc>");
    if (start < 0 || title < start || end < title)
        return std::string();
    text.replace(title, end + 7 - title, QByteArray("<title>") + titleMarkup.c_str() + "</title>");
    return mergeGroups(text.mid(start));
}
