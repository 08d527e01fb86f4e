#include "GridPainter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kPixels = 540;

bool near(QColor a, QColor b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// A colour with alpha laid over white, as the image holds it.
QColor overWhite(QColor c)
{
    const auto mix = [&](int v) { return 255 + (v - 255) * c.alpha() / 255; };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

int countNear(const QImage& image, const QRectF& area, QColor colour)
{
    int count = 0;
    const QRect r = area.toAlignedRect().intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += near(image.pixelColor(x, y), colour);
    return count;
}

GridPicture blankPicture(int innerSize)
{
    const int cells = innerSize * innerSize * innerSize * innerSize;
    GridPicture picture;
    picture.innerSize = innerSize;
    picture.values.assign(static_cast<std::size_t>(cells), 0);
    picture.candidates.assign(static_cast<std::size_t>(cells), 0);
    return picture;
}

std::uint64_t maskOf(std::initializer_list<int> values)
{
    std::uint64_t mask = 0;
    for (const int v : values)
        mask |= std::uint64_t{1} << (v - 1);
    return mask;
}

class GridPainterTest : public testing::Test {
protected:
    QImage render(const GridPicture& picture)
    {
        QImage image(kPixels, kPixels, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CGridPainter(picture).Paint(painter, area);
        return image;
    }

    const QRectF area{0, 0, kPixels, kPixels};
};

TEST_F(GridPainterTest, PlacementRemovedCandidatePatternAndUnitEachTakeTheirColourWhereTheStepPutsThem)
{
    GridPicture picture = blankPicture(3);
    picture.candidates[0] = maskOf({1, 2});
    picture.candidates[10] = maskOf({2, 3});
    Step step;
    step.technique = Technique::Pointing;
    step.placements = {{40, 5}};
    step.eliminations = {{0, 1}};
    step.proof = {{10, 2}};
    step.units = {8};  // row 9
    step.digits = {2};
    picture.step = step;
    const CGridPainter painter(picture);
    const QImage image = render(picture);

    const auto corner = [&](int cell) {
        const QRectF r = painter.GetCellRect(area, cell);
        return image.pixelColor(QPointF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.15).toPoint());
    };
    EXPECT_TRUE(near(corner(40), CGridPainter::kPlacement)) << corner(40).name().toStdString();
    EXPECT_TRUE(near(corner(76), overWhite(CGridPainter::kUnit))) << corner(76).name().toStdString();
    EXPECT_TRUE(near(corner(30), Qt::white)) << "a cell outside the step";

    const auto share = [&](int cell, int value, QColor colour) {
        const QRectF r = painter.GetCandidateRect(area, cell, value);
        return countNear(image, r, colour) / (r.width() * r.height());
    };
    EXPECT_GT(share(0, 1, CGridPainter::kElimination), 0.2);
    EXPECT_GT(share(10, 2, CGridPainter::kPattern), 0.2);
    for (const QColor colour : {CGridPainter::kElimination, CGridPainter::kPattern}) {
        EXPECT_EQ(share(0, 2, colour), 0.0) << "a candidate the step leaves alone";
        EXPECT_EQ(share(10, 3, colour), 0.0);
    }
}

TEST_F(GridPainterTest, ChainLinksAlternateStrongAndWeakFromTheFirstNode)
{
    GridPicture picture = blankPicture(3);
    // r3c3 = r3c7 - r7c7 = r7c3 on 3.
    for (const int cell : {20, 24, 60, 56})
        picture.candidates[static_cast<std::size_t>(cell)] = maskOf({3, 8});
    Step step;
    step.technique = Technique::XChain;
    step.proof = {{20, 3}, {24, 3}, {60, 3}, {56, 3}};
    step.digits = {3};
    picture.step = step;
    const CGridPainter painter(picture);
    const QImage image = render(picture);

    const auto around = [&](int from, int to) {
        const QPointF mid =
            (painter.GetCandidateRect(area, from, 3).center() + painter.GetCandidateRect(area, to, 3).center()) / 2;
        const qreal half = painter.GetCellRect(area, 0).width() / 3;
        return QRectF(mid.x() - half, mid.y() - half, 2 * half, 2 * half);
    };
    for (const auto& [from, to, strong] : {std::tuple{20, 24, true}, {24, 60, false}, {60, 56, true}}) {
        const QRectF r = around(from, to);
        const QColor mine = strong ? CGridPainter::kStrongLink : CGridPainter::kWeakLink;
        const QColor other = strong ? CGridPainter::kWeakLink : CGridPainter::kStrongLink;
        EXPECT_GT(countNear(image, r, mine), 10) << from << "-" << to;
        EXPECT_EQ(countNear(image, r, other), 0) << from << "-" << to;
    }
}

TEST_F(GridPainterTest, EveryBoxSizeHasItsCandidatesInsideTheirCellAndItsPlacementDrawn)
{
    for (const int n : {2, 3, 4, 5}) {
        const int side = n * n;
        GridPicture picture = blankPicture(n);
        const int last = side * side - 1;
        picture.candidates[static_cast<std::size_t>(last)] = maskOf({1, side});
        picture.values[0] = side;
        picture.givens.assign(static_cast<std::size_t>(side * side), false);
        picture.givens[0] = true;
        Step step;
        step.placements = {{side + 1, side}};
        picture.step = step;
        const CGridPainter painter(picture);
        const QRectF cell = painter.GetCellRect(area, last);
        EXPECT_TRUE(cell.contains(painter.GetCandidateRect(area, last, side).adjusted(0.01, 0.01, -0.01, -0.01)))
            << n;
        EXPECT_TRUE(area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(cell)) << n;
        const QImage image = render(picture);
        const QRectF placed = painter.GetCellRect(area, side + 1);
        EXPECT_TRUE(near(image.pixelColor(QPointF(placed.left() + placed.width() * 0.2, placed.center().y()).toPoint()),
                         CGridPainter::kPlacement))
            << n;
    }
}

TEST_F(GridPainterTest, TheSameDrawingGoesToSvgAndPdf)
{
    GridPicture picture = blankPicture(3);
    picture.candidates[0] = maskOf({1, 2});
    Step step;
    step.placements = {{40, 5}};
    step.eliminations = {{0, 1}};
    picture.step = step;

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(QSize(kPixels, kPixels));
    {
        QPainter painter(&generator);
        CGridPainter(picture).Paint(painter, area);
    }
    const QString text = QString::fromUtf8(svg.data());
    EXPECT_TRUE(text.contains(CGridPainter::kPlacement.name())) << "the placed cell";
    EXPECT_TRUE(text.contains(CGridPainter::kElimination.name())) << "the removed candidate";

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        QPainter painter(&writer);
        CGridPainter(picture).Paint(painter, QRectF(0, 0, writer.width(), writer.height()));
    }
    EXPECT_TRUE(pdf.data().startsWith("%PDF"));
    EXPECT_GT(pdf.data().size(), 1000);
}

} // namespace
