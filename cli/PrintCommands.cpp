#include "GridlarkCli.h"

#include "CliPictures.h"
#include "WorkerPool.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cstdio>

// print: a puzzle book in PDF, or a page per SVG or PNG file.

namespace {

// One place on a page: a grid with its caption, or a caption alone.
struct Entry {
    std::optional<GridPicture> picture;
    std::string caption;
};

using Page = std::vector<Entry>;

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

void paintPage(QPainter& painter, const QRectF& page, const Page& entries, int perPage)
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
        const Entry& entry = entries[i];
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

bool writePdf(const std::string& path, const std::vector<Page>& pages, int perPage)
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

bool writeSvg(const std::string& path, const Page& page, int perPage)
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

bool writePng(const std::string& path, const Page& page, int perPage)
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

int GridlarkCli::print(const std::vector<std::string>& inputs, const PrintOptions& print)
{
    // A book is made of all its puzzles at once, so each input is read whole.
    std::vector<Item> items;
    for (const std::string& input : inputs)
        readInput(input, items);
    int failure = exitOk;  // an input that cannot go into the book: nothing is written
    int unrated = exitOk;  // a puzzle without one solution: printed, and the code says so
    std::vector<Entry> puzzles;
    std::vector<Entry> solutions;
    for (const Item& item : items) {
        if (WorkerPool::interruptRequested()) {
            std::fputs("gridlark-cli: interrupted; nothing written\n", stderr);
            return exitInterrupted;
        }
        std::string err = item.err;
        int code = item.code;
        std::optional<CandidateGrid> grid;
        if (item.isPuzzle && (item.puzzle.innerSize < CliPictures::kMinInnerSize ||
                              item.puzzle.innerSize > CliPictures::kMaxInnerSize)) {
            err = item.label + ": print draws grids from 4x4 to 25x25\n";
            code = exitUsage;
        } else if (item.isPuzzle) {
            grid = logicGrid(item, err, code);
        }
        std::fputs(err.c_str(), stderr);
        if (failure == exitOk)
            failure = code;
        // Once the book is refused, the rest is only read, for its messages.
        if (!grid || failure != exitOk)
            continue;

        const Rating rating = PuzzleRater::rate(*grid);
        const std::string number = std::to_string(puzzles.size() + 1);
        std::string caption = "Puzzle " + number;
        if (rating.status == Rating::Status::Rated) {
            char figure[64];
            std::snprintf(figure, sizeof figure, ": %s, rating %.1f",
                          std::string(PuzzleRater::levelName(rating.level)).c_str(), rating.rating);
            caption += figure;
        } else {
            const bool none = rating.status == Rating::Status::NoSolution;
            const std::string what = none ? "no solution" : "more than one solution";
            std::fprintf(stderr, "%s: %s; printed without a rating\n", item.label.c_str(), what.c_str());
            if (unrated == exitOk)
                unrated = none ? exitNoSolution : exitSeveralSolutions;
            caption += ": " + what;
        }
        const std::vector<int> givens = grid->getValues();
        puzzles.push_back({CliPictures::pictureOf(*grid, givens, print.candidates), caption});
        if (!print.solutions)
            continue;
        if (rating.status == Rating::Status::Rated)
            solutions.push_back({CliPictures::pictureOf(*CandidateGrid::fromValues(rating.solution), givens, false),
                                 "Solution " + number});
        else
            solutions.push_back({std::nullopt, puzzles.back().caption});
    }
    if (failure != exitOk)
        return failure;

    // Solutions start on a page of their own.
    std::vector<Page> pages;
    for (const std::vector<Entry>* part : {&puzzles, &solutions})
        for (std::size_t i = 0; i < part->size(); i += static_cast<std::size_t>(print.perPage))
            pages.emplace_back(part->begin() + static_cast<long>(i),
                               part->begin() + static_cast<long>(std::min(part->size(), i + print.perPage)));

    const CliPictures::Gui gui;
    bool written = true;
    if (print.format == PrintOptions::Format::pdf)
        written = writePdf(print.outPath, pages, print.perPage);
    for (std::size_t p = 0; p < pages.size() && written && print.format != PrintOptions::Format::pdf; ++p) {
        const std::string path = pageFile(print.outPath, p, pages.size());
        written = print.format == PrintOptions::Format::svg ? writeSvg(path, pages[p], print.perPage)
                                                            : writePng(path, pages[p], print.perPage);
    }
    return written ? unrated : exitCannotOpen;
}
