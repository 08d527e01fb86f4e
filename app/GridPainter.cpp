#include "GridPainter.h"

#include "CandidateGrid.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

const QColor CGridPainter::kPlacement(0, 158, 115);      // bluish green
const QColor CGridPainter::kElimination(213, 94, 0);     // vermilion
const QColor CGridPainter::kPattern(86, 180, 233);       // sky blue
const QColor CGridPainter::kUnit(240, 228, 66, 90);      // yellow, pale
const QColor CGridPainter::kStrongLink(0, 114, 178);     // blue
const QColor CGridPainter::kWeakLink(230, 159, 0);       // orange
const QColor CGridPainter::kGiven(0, 0, 0);
const QColor CGridPainter::kEntered(0, 114, 178);

namespace {

bool isChain(Technique technique)
{
    return technique == Technique::XChain || technique == Technique::XYChain || technique == Technique::Aic;
}

bool contains(const std::vector<Candidate>& candidates, int cell, int value)
{
    return std::find(candidates.begin(), candidates.end(), Candidate{cell, value}) != candidates.end();
}

QFont fontOfHeight(qreal height, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, qRound(height)));
    font.setBold(bold);
    return font;
}

} // namespace

QRectF CGridPainter::GridRect(const QRectF& area) const
{
    const qreal side = std::min(area.width(), area.height());
    return QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
}

QRectF CGridPainter::GetCellRect(const QRectF& area, int cell) const
{
    const QRectF grid = GridRect(area);
    const qreal size = grid.width() / Side();
    return QRectF(grid.left() + (cell % Side()) * size, grid.top() + (cell / Side()) * size, size, size);
}

QRectF CGridPainter::GetCandidateRect(const QRectF& area, int cell, int value) const
{
    const QRectF box = GetCellRect(area, cell);
    const int n = m_picture.innerSize;
    const qreal size = box.width() / n;
    const int index = value - 1;
    return QRectF(box.left() + (index % n) * size, box.top() + (index / n) * size, size, size);
}

void CGridPainter::Paint(QPainter& painter, const QRectF& area) const
{
    if (m_picture.innerSize < 1 || static_cast<int>(m_picture.values.size()) != Side() * Side())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(GridRect(area), Qt::white);
    PaintCells(painter, area);
    PaintCandidates(painter, area);
    PaintValues(painter, area);
    PaintLines(painter, area);
    PaintLinks(painter, area);
    painter.restore();
}

// The units of the pattern pale, a placed cell full.
void CGridPainter::PaintCells(QPainter& painter, const QRectF& area) const
{
    if (!m_picture.step)
        return;
    const Step& step = *m_picture.step;
    const GridLayout& layout = GridLayout::forInnerSize(m_picture.innerSize);
    for (const int unit : step.units) {
        if (unit < 0 || unit >= layout.unitCount)
            continue;
        for (int i = 0; i < layout.size; ++i)
            painter.fillRect(GetCellRect(area, layout.cellsOf(unit)[i]), kUnit);
    }
    for (const Candidate& placed : step.placements)
        painter.fillRect(GetCellRect(area, placed.cell), kPlacement);
}

void CGridPainter::PaintCandidates(QPainter& painter, const QRectF& area) const
{
    const int cells = Side() * Side();
    const std::vector<Candidate> none;
    const std::vector<Candidate>& proof = m_picture.step ? m_picture.step->proof : none;
    const std::vector<Candidate>& gone = m_picture.step ? m_picture.step->eliminations : none;
    for (int cell = 0; cell < cells; ++cell) {
        if (m_picture.values[static_cast<std::size_t>(cell)] != 0 ||
            static_cast<std::size_t>(cell) >= m_picture.candidates.size())
            continue;
        const std::uint64_t mask = m_picture.candidates[static_cast<std::size_t>(cell)];
        for (int value = 1; value <= Side(); ++value) {
            if (!(mask & (std::uint64_t{1} << (value - 1))))
                continue;
            const QRectF box = GetCandidateRect(area, cell, value);
            const QRectF mark = box.adjusted(box.width() * 0.06, box.height() * 0.06, -box.width() * 0.06,
                                             -box.height() * 0.06);
            const bool removed = contains(gone, cell, value);
            if (removed || contains(proof, cell, value)) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(removed ? kElimination : kPattern);
                painter.drawEllipse(mark);
            }
            painter.setPen(removed ? Qt::white : kGiven);
            painter.setFont(fontOfHeight(box.height() * (Side() > 9 ? 0.55 : 0.75), false));
            painter.drawText(box, Qt::AlignCenter, QString::number(value));
            if (removed) {
                // A cross as well as the colour, for grey prints.
                painter.setPen(QPen(kElimination.darker(160), std::max<qreal>(1.0, box.width() / 12)));
                painter.drawLine(mark.topLeft(), mark.bottomRight());
                painter.drawLine(mark.bottomLeft(), mark.topRight());
            }
        }
    }
}

void CGridPainter::PaintValues(QPainter& painter, const QRectF& area) const
{
    const int cells = Side() * Side();
    const std::vector<Candidate> none;
    const std::vector<Candidate>& placements = m_picture.step ? m_picture.step->placements : none;
    for (int cell = 0; cell < cells; ++cell) {
        int value = m_picture.values[static_cast<std::size_t>(cell)];
        const bool given = static_cast<std::size_t>(cell) < m_picture.givens.size() &&
                           m_picture.givens[static_cast<std::size_t>(cell)];
        const auto placed = std::find_if(placements.begin(), placements.end(),
                                         [cell](const Candidate& c) { return c.cell == cell; });
        if (placed != placements.end())
            value = placed->value;
        if (value == 0)
            continue;
        const QRectF box = GetCellRect(area, cell);
        painter.setPen(placed != placements.end() ? Qt::white : given ? kGiven : kEntered);
        painter.setFont(fontOfHeight(box.height() * (Side() > 9 ? 0.5 : 0.7), given));
        painter.drawText(box, Qt::AlignCenter, QString::number(value));
    }
}

void CGridPainter::PaintLines(QPainter& painter, const QRectF& area) const
{
    const QRectF grid = GridRect(area);
    const qreal cell = grid.width() / Side();
    const qreal thin = std::max<qreal>(1.0, cell / 40);
    const qreal thick = std::max<qreal>(2.0, cell / 14);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i <= Side(); ++i) {
        const bool box = i % m_picture.innerSize == 0;
        painter.setPen(QPen(box ? kGiven : QColor(110, 110, 110), box ? thick : thin, Qt::SolidLine, Qt::SquareCap));
        const qreal x = grid.left() + i * cell;
        const qreal y = grid.top() + i * cell;
        painter.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
        painter.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
    }
}

// A chain's nodes in order, strong link first: strong links solid, weak ones dashed,
// each an arrow from one candidate to the next.
void CGridPainter::PaintLinks(QPainter& painter, const QRectF& area) const
{
    if (!m_picture.step || !isChain(m_picture.step->technique))
        return;
    const std::vector<Candidate>& nodes = m_picture.step->proof;
    const qreal cell = GridRect(area).width() / Side();
    const qreal width = std::max<qreal>(1.5, cell / 16);
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const bool strong = i % 2 == 1;
        const QRectF from = GetCandidateRect(area, nodes[i - 1].cell, nodes[i - 1].value);
        const QRectF to = GetCandidateRect(area, nodes[i].cell, nodes[i].value);
        const qreal radius = from.width() / 2;
        QLineF line(from.center(), to.center());
        if (line.length() <= 2 * radius)
            continue;
        // From the edge of one candidate's mark to the edge of the next.
        const QPointF unit = (line.p2() - line.p1()) / line.length();
        line = QLineF(line.p1() + unit * radius, line.p2() - unit * radius);
        const QColor colour = strong ? kStrongLink : kWeakLink;
        painter.setPen(QPen(colour, width, strong ? Qt::SolidLine : Qt::DashLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(line);
        const qreal head = width * 3.5;
        const qreal angle = std::atan2(unit.y(), unit.x());
        QPainterPath arrow;
        arrow.moveTo(line.p2());
        arrow.lineTo(line.p2() - QPointF(std::cos(angle - 0.45), std::sin(angle - 0.45)) * head);
        arrow.lineTo(line.p2() - QPointF(std::cos(angle + 0.45), std::sin(angle + 0.45)) * head);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(arrow);
    }
}
