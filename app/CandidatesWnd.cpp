#include "CandidatesWnd.h"

#include "LogicalSolver.h"
#include "PuzzleRater.h"
#include "StepText.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton* makeButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CGridView::CGridView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(240, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CGridView::SetPicture(GridPicture picture)
{
    m_picture = std::move(picture);
    update();
}

QSize CGridView::sizeHint() const
{
    // Candidates stay readable: a 9x9 cell about four lines of the font high.
    const int side = fontMetrics().height() * 36;
    return QSize(side, side);
}

void CGridView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    CGridPainter(m_picture).Paint(painter, QRectF(rect()).adjusted(2, 2, -2, -2));
}

CCandidatesWnd::CCandidatesWnd(QWidget* parent, PlaceFunction place)
    : QWidget(parent, Qt::Window), m_place(std::move(place))
{
    setWindowTitle(QStringLiteral("Candidates"));
    m_view = new CGridView(this);
    m_view->setAccessibleName(QStringLiteral("Grid with candidates"));
    m_view->setFocusPolicy(Qt::NoFocus);
    m_stepText = new QLabel(this);
    m_stepText->setWordWrap(true);
    m_stepText->setTextFormat(Qt::PlainText);
    m_stepText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_stepText->setAccessibleDescription(QStringLiteral("Step"));
    m_stepText->setMinimumHeight(m_stepText->fontMetrics().height() * 3);
    m_stepText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_nextButton = makeButton(QStringLiteral("&Next step"), QStringLiteral("Next step"), this);
    m_applyButton = makeButton(QStringLiteral("&Apply"), QStringLiteral("Apply"), this);
    m_undoButton = makeButton(QStringLiteral("&Undo"), QStringLiteral("Undo"), this);
    auto* closeButton = makeButton(QStringLiteral("Close"), QStringLiteral("Close"), this);
    connect(m_nextButton, &QPushButton::clicked, this, [this] { OnNextStep(); });
    connect(m_applyButton, &QPushButton::clicked, this, [this] { OnApply(); });
    connect(m_undoButton, &QPushButton::clicked, this, [this] { OnUndo(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_nextButton);
    buttons->addWidget(m_applyButton);
    buttons->addWidget(m_undoButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_stepText);
    layout->addLayout(buttons);
    setTabOrder(m_nextButton, m_applyButton);
    setTabOrder(m_applyButton, m_undoButton);
    setTabOrder(m_undoButton, closeButton);
    m_nextButton->setFocus();
    ShowStep(std::nullopt, QString());
    // The grid as its view would have it, with room for the words and the buttons.
    const QSize grid = m_view->sizeHint();
    resize(grid.width() + fontMetrics().height(), grid.height() + fontMetrics().height() * 7);
}

void CCandidatesWnd::SetValues(const std::vector<int>& values)
{
    if (values == m_values)
        return;
    // A value taken away or changed by the player may undo what an elimination rested on.
    if (!m_placing) {
        bool onlyAdded = values.size() == m_values.size();
        for (std::size_t i = 0; onlyAdded && i < values.size(); ++i)
            onlyAdded = m_values[i] == 0 || m_values[i] == values[i];
        if (!onlyAdded)
            m_applied.clear();
    }
    m_values = values;
    Rebuild();
    ShowStep(std::nullopt, m_grid ? QString() : QStringLiteral("A value is repeated in a row, column or box."));
}

void CCandidatesWnd::Rebuild()
{
    m_grid = CandidateGrid::fromValues(m_values);
    GridPicture picture;
    const int cells = static_cast<int>(m_values.size());
    int innerSize = 1;
    while (innerSize * innerSize * innerSize * innerSize < cells)
        ++innerSize;
    picture.innerSize = innerSize;
    picture.values = m_values;
    picture.givens.assign(m_values.size(), true);
    if (m_grid) {
        for (const Step& step : m_applied) {
            Step eliminations;
            eliminations.technique = step.technique;
            eliminations.eliminations = step.eliminations;
            LogicalSolver::applyStep(*m_grid, eliminations);
            for (const Candidate& placed : step.placements)
                picture.givens[static_cast<std::size_t>(placed.cell)] = false;
        }
        for (int cell = 0; cell < cells; ++cell)
            picture.candidates.push_back(m_grid->getCandidates(cell));
    }
    picture.step = m_step;
    m_view->SetPicture(std::move(picture));
    m_undoButton->setEnabled(!m_applied.empty());
}

void CCandidatesWnd::ShowStep(const std::optional<Step>& step, const QString& text)
{
    m_step = step;
    GridPicture picture = m_view->GetPicture();
    picture.step = step;
    m_view->SetPicture(std::move(picture));
    m_stepText->setText(text);
    m_stepText->setAccessibleName(text.isEmpty() ? QStringLiteral("No step shown") : text);
    m_applyButton->setEnabled(step.has_value());
    m_nextButton->setEnabled(m_grid && !m_grid->isSolved());
}

QString CCandidatesWnd::GetStepText() const
{
    return m_stepText->text();
}

void CCandidatesWnd::OnNextStep()
{
    if (!m_grid || m_grid->isSolved())
        return;
    const int solutions = PuzzleRater::countSolutions(*m_grid);
    if (solutions != 1) {
        ShowStep(std::nullopt, solutions == 0 ? QStringLiteral("The grid has no solution: check the values entered.")
                                              : QStringLiteral("The grid has more than one solution: enter more values."));
        return;
    }
    const std::optional<Step> step = LogicalSolver(true).findNextStep(*m_grid);
    if (!step) {
        ShowStep(std::nullopt, QStringLiteral("No logical step was found for this grid."));
        return;
    }
    ShowStep(step, QString::fromStdString(StepText::describe(*step, m_grid->getLayout())));
}

void CCandidatesWnd::OnApply()
{
    if (!m_step)
        return;
    const Step step = *m_step;
    m_applied.push_back(step);
    m_placing = true;
    for (const Candidate& placed : step.placements)
        m_place(placed.cell, placed.value);
    m_placing = false;
    Rebuild();
    ShowStep(std::nullopt, QString());
}

void CCandidatesWnd::OnUndo()
{
    if (m_applied.empty())
        return;
    const Step step = m_applied.back();
    m_applied.pop_back();
    m_placing = true;
    for (const Candidate& placed : step.placements)
        m_place(placed.cell, 0);
    m_placing = false;
    Rebuild();
    ShowStep(std::nullopt, QString());
}

// Besides the buttons' Alt keys, their letters alone: the window has no text to type.
void CCandidatesWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Undo)) {
        OnUndo();
        return;
    }
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_N:
        OnNextStep();
        break;
    case Qt::Key_A:
        OnApply();
        break;
    case Qt::Key_U:
        OnUndo();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}
