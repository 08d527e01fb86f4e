#pragma once

#include "GridPainter.h"

#include "CandidateGrid.h"
#include "Step.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

// Draws a grid picture and nothing else; it scales with the window.
class CGridView : public QWidget {
public:
    explicit CGridView(QWidget* parent = nullptr);
    void SetPicture(GridPicture picture);
    const GridPicture& GetPicture() const { return m_picture; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GridPicture m_picture;
};

// The candidates window beside the main dialog: the dialog's grid with its candidates,
// and the steps of a person's solving, one at a time. Eliminations applied here live
// in this view; a placement goes to the dialog's boxes through place, as if typed.
class CCandidatesWnd : public QWidget {
public:
    // Writes value (0: blank) into the dialog's box of cell.
    using PlaceFunction = std::function<void(int cell, int value)>;

    CCandidatesWnd(QWidget* parent, PlaceFunction place);

    // The dialog's boxes, row by row, 0 for a blank: each change of them comes here.
    void SetValues(const std::vector<int>& values);

    void OnNextStep();
    void OnApply();
    void OnUndo();

    // Nothing when the boxes hold a value twice.
    const std::optional<CandidateGrid>& GetGrid() const { return m_grid; }
    const std::optional<Step>& GetStep() const { return m_step; }
    QString GetStepText() const;
    // What the window draws: values, candidates and the step shown.
    const GridPicture& GetPicture() const { return m_view->GetPicture(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Rebuild();
    void ShowStep(const std::optional<Step>& step, const QString& text);

    PlaceFunction m_place;
    std::vector<int> m_values;
    // The steps applied here, oldest first; their eliminations hold while values are
    // only added to the grid, since a value added removes solutions and never adds one.
    std::vector<Step> m_applied;
    bool m_placing = false;
    std::optional<CandidateGrid> m_grid;
    std::optional<Step> m_step;
    CGridView* m_view;
    QLabel* m_stepText;
    QPushButton* m_nextButton;
    QPushButton* m_applyButton;
    QPushButton* m_undoButton;
};
