#pragma once

#include "GridPicture.h"

#include <QColor>
#include <QRectF>

#include <utility>

class QPainter;

// Draws a grid picture with QPainter alone, so that a widget, a printer, a PDF, an
// SVG and an image all get the same drawing. The colours (Okabe and Ito's palette)
// stay apart for colour-blind eyes, and every highlight also has a shape of its own
// (a cross, a ring, a dashed line) for grey prints.
class CGridPainter {
public:
    // Placed values, removed candidates, the pattern's candidates and units, links.
    static const QColor kPlacement;
    static const QColor kElimination;
    static const QColor kPattern;
    static const QColor kUnit;
    static const QColor kStrongLink;
    static const QColor kWeakLink;
    static const QColor kGiven;
    static const QColor kEntered;

    explicit CGridPainter(GridPicture picture) : m_picture(std::move(picture)) {}

    // Draws the grid as the largest square that fits area, centred in it.
    void Paint(QPainter& painter, const QRectF& area) const;

    // Where Paint draws a cell, and a candidate within it, for the area given.
    QRectF GetCellRect(const QRectF& area, int cell) const;
    QRectF GetCandidateRect(const QRectF& area, int cell, int value) const;

private:
    int Side() const { return m_picture.innerSize * m_picture.innerSize; }
    QRectF GridRect(const QRectF& area) const;
    void PaintCells(QPainter& painter, const QRectF& area) const;
    void PaintCandidates(QPainter& painter, const QRectF& area) const;
    void PaintValues(QPainter& painter, const QRectF& area) const;
    void PaintLines(QPainter& painter, const QRectF& area) const;
    void PaintLinks(QPainter& painter, const QRectF& area) const;

    GridPicture m_picture;
};
