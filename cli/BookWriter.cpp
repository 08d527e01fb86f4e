#include "BookWriter.h"

#include "CliPictures.h"
#include "GridPainter.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

// A4 portrait, in millimetres.
constexpr qreal kPageWidth = 210;
constexpr qreal kPageHeight = 297;

QSize pagePixels(int dotsPerInch)
{
    return QSize(qRound(kPageWidth / 25.4 * dotsPerInch), qRound(kPageHeight / 25.4 * dotsPerInch));
}

// Columns and rows for the grids of one page.
QSize arrangement(int perPage)
{
    switch (perPage) {
    case 2: return QSize(1, 2);
    case 4: return QSize(2, 2);
    case 6: return QSize(2, 3);
    default: return QSize(1, 1);
    }
}

void paintPage(QPainter& painter, const QRectF& page, const PicturePage& entries, int perPage)
{
    painter.fillRect(page, Qt::white);
    const qreal margin = page.width() * 0.08;
    const QRectF area = page.adjusted(margin, margin, -margin, -margin);
    const QSize places = arrangement(perPage);
    const qreal width = area.width() / places.width();
    const qreal height = area.height() / places.height();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, qRound(page.width() * (perPage == 1 ? 0.024 : 0.018))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const qreal captionHeight = font.pixelSize() * 2.2;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int column = static_cast<int>(i) % places.width();
        const int row = static_cast<int>(i) / places.width();
        const qreal gap = width * 0.05;
        const QRectF place(area.left() + column * width + gap / 2, area.top() + row * height + gap / 2, width - gap,
                           height - gap);
        const qreal side = std::min(place.width(), place.height() - captionHeight);
        const QRectF square(place.center().x() - side / 2, place.center().y() - (side + captionHeight) / 2, side,
                            side);
        const PictureEntry& entry = entries[i];
        if (entry.picture)
            CGridPainter(*entry.picture).Paint(painter, square);
        const QRectF caption = entry.picture ? QRectF(place.left(), square.bottom(), place.width(), captionHeight)
                                            : square;
        painter.drawText(caption, Qt::AlignCenter | Qt::TextWordWrap, QString::fromStdString(entry.caption));
    }
}

// The file of page (from 0) of a book of pages: the path itself for a book of one
// page, else the page number, as wide as the last one's, before the extension.
std::string pageFile(const std::string& path, std::size_t page, std::size_t pages)
{
    if (pages == 1)
        return path;
    const std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1 || dot == 0)
        dot = path.size();
    const int digits = static_cast<int>(std::to_string(pages).size());
    char number[32];
    std::snprintf(number, sizeof number, "-%0*zu", digits, page + 1);
    return path.substr(0, dot) + number + path.substr(dot);
}

bool openForWriting(QFile& file)
{
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    std::fprintf(stderr, "cannot open %s for writing: %s\n", qPrintable(file.fileName()),
                 qPrintable(file.errorString()));
    return false;
}

bool finish(QFile& file)
{
    file.flush();
    if (file.error() == QFileDevice::NoError)
        return true;
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(file.fileName()), qPrintable(file.errorString()));
    return false;
}

bool writePdf(const std::string& path, const std::vector<PicturePage>& pages, int perPage)
{
    QFile file(QString::fromStdString(path));
    if (!openForWriting(file))
        return false;
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(300);
        pdf.setCreator(QStringLiteral("Gridlark"));
        pdf.setTitle(QStringLiteral("Sudoku puzzles"));
        QPainter painter(&pdf);
        for (std::size_t p = 0; p < pages.size(); ++p) {
            if (p > 0)
                pdf.newPage();
            paintPage(painter, QRectF(0, 0, pdf.width(), pdf.height()), pages[p], perPage);
        }
    }
    return finish(file);
}

bool writeSvg(const std::string& path, const PicturePage& page, int perPage)
{
    QFile file(QString::fromStdString(path));
    if (!openForWriting(file))
        return false;
    // At 127 dots per inch the page is a whole number of dots and of millimetres.
    constexpr int kDotsPerInch = 127;
    const QSize size = pagePixels(kDotsPerInch);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setResolution(kDotsPerInch);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Sudoku puzzles"));
        svg.setDescription(QStringLiteral("Drawn by Gridlark"));
        QPainter painter(&svg);
        paintPage(painter, QRectF(QPointF(0, 0), size), page, perPage);
    }
    return finish(file);
}

bool writePng(const std::string& path, const PicturePage& page, int perPage)
{
    QFile file(QString::fromStdString(path));
    if (!openForWriting(file))
        return false;
    constexpr int kDotsPerInch = 150;
    QImage image(pagePixels(kDotsPerInch), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(kDotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(kDotsPerInch / 0.0254));
    {
        QPainter painter(&image);
        paintPage(painter, QRectF(image.rect()), page, perPage);
    }
    // Encoded in memory, so that a failed write is reported here alone.
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    file.write(png.data());
    return finish(file);
}

} // namespace

bool BookWriter::write(const PrintOptions& print, const std::vector<PicturePage>& pages)
{
    const CliPictures::Gui gui;
    bool written = true;
    if (print.format == PrintOptions::Format::pdf)
        written = writePdf(print.outPath, pages, print.perPage);
    for (std::size_t p = 0; p < pages.size() && written && print.format != PrintOptions::Format::pdf; ++p) {
        const std::string path = pageFile(print.outPath, p, pages.size());
        written = print.format == PrintOptions::Format::svg ? writeSvg(path, pages[p], print.perPage)
                                                            : writePng(path, pages[p], print.perPage);
    }
    return written;
}
