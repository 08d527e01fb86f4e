#include "DialogFixture.h"

#include "CandidatesWnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>

namespace {

int cellOf(int row, int col) { return row * 9 + col; }

// The hard puzzle after its twelve singles: what follows are eliminations.
const char* const kStuck =
    "...6..2...37.284.9..2.....1...43.9..31.....4.4.......6751..4.238937.25.42643.5.9.";

class CandidatesWndTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        putRows(kPuzzle);
        dlg->OnSysCommand(IDM_CANDIDATES, 0);
        wnd = dlg->GetCandidatesWnd();
        ASSERT_NE(wnd, nullptr);
    }

    void putLine(const char* line)
    {
        for (int i = 0; i < 81; ++i)
            put(i / 9, i % 9, line[i] == '.' ? "" : std::string(1, line[i]).c_str());
    }

    const CandidateGrid& shown()
    {
        const auto& grid = wnd->GetGrid();
        EXPECT_TRUE(grid.has_value());
        return *grid;
    }

    CCandidatesWnd* wnd = nullptr;
};

TEST_F(CandidatesWndTest, OpensBesideTheDialogWithoutBlockingItAndEveryControlHasAName)
{
    EXPECT_TRUE(wnd->isVisible());
    EXPECT_TRUE(wnd->isWindow());
    EXPECT_FALSE(wnd->isModal());
    EXPECT_EQ(shown().getValue(cellOf(0, 0)), 5);
    EXPECT_FALSE(shown().hasCandidate(cellOf(0, 2), 5)) << "a peer of the 5 loses it";
    for (QWidget* child : wnd->findChildren<QWidget*>()) {
        if (child->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(child)) {
            EXPECT_FALSE(child->accessibleName().isEmpty()) << child->metaObject()->className();
        }
    }
    dlg->OnSysCommand(IDM_CANDIDATES, 0);
    EXPECT_EQ(dlg->GetCandidatesWnd(), wnd) << "one window, brought forward";
}

TEST_F(CandidatesWndTest, TypingPasteAndSolveInTheDialogKeepItInStep)
{
    put(0, 2, "4");
    EXPECT_EQ(shown().getValue(cellOf(0, 2)), 4);
    EXPECT_FALSE(shown().hasCandidate(cellOf(0, 5), 4));
    put(0, 2, "");
    EXPECT_TRUE(shown().hasCandidate(cellOf(0, 5), 4)) << "the candidate comes back with the value gone";

    QApplication::clipboard()->setText(QString::fromLatin1(kStuck));
    dlg->OnSysCommand(IDM_PASTE, 0);
    EXPECT_EQ(shown().getValue(cellOf(0, 3)), 6);
    EXPECT_EQ(shown().getValue(cellOf(0, 0)), 0);

    dlg->SendCommand(IDC_SOLVE);
    EXPECT_TRUE(shown().isSolved());

    put(0, 0, "9");
    put(0, 1, "9");  // twice in row 1
    EXPECT_FALSE(wnd->GetGrid().has_value());
    EXPECT_FALSE(wnd->GetStepText().isEmpty()) << "says why nothing is shown";
}

TEST_F(CandidatesWndTest, ApplyPutsAPlacementIntoItsBoxAndUndoTakesItBack)
{
    wnd->OnNextStep();
    ASSERT_TRUE(wnd->GetStep().has_value());
    ASSERT_FALSE(wnd->GetStep()->placements.empty());
    EXPECT_FALSE(wnd->GetStepText().isEmpty());
    const Candidate placed = wnd->GetStep()->placements.front();
    const int row = placed.cell / 9, col = placed.cell % 9;
    ASSERT_EQ(box(row, col)->text(), QString());
    wnd->OnApply();
    EXPECT_EQ(box(row, col)->text(), QString::number(placed.value));
    EXPECT_EQ(shown().getValue(placed.cell), placed.value);
    EXPECT_FALSE(wnd->GetStep().has_value());
    wnd->OnUndo();
    EXPECT_EQ(box(row, col)->text(), QString());
    EXPECT_TRUE(shown().hasCandidate(placed.cell, placed.value));
}

TEST_F(CandidatesWndTest, EliminationsStayInTheViewWhileValuesAreAddedAndGoWithUndo)
{
    putLine(kStuck);
    const GridText before = grid();
    QTest::keyClick(wnd, Qt::Key_N);
    ASSERT_TRUE(wnd->GetStep().has_value());
    const Step step = *wnd->GetStep();
    ASSERT_TRUE(step.placements.empty()) << wnd->GetStepText().toStdString();
    ASSERT_FALSE(step.eliminations.empty());
    const Candidate gone = step.eliminations.front();
    ASSERT_TRUE(shown().hasCandidate(gone.cell, gone.value));
    QTest::keyClick(wnd, Qt::Key_A);
    EXPECT_FALSE(shown().hasCandidate(gone.cell, gone.value));
    EXPECT_EQ(grid(), before) << "an elimination has no box to go to";

    // A value added takes solutions away and never adds one: the elimination holds.
    int blank = 0;
    while (kStuck[blank] != '.' || blank == gone.cell)
        ++blank;
    int value = 1;
    while (!shown().hasCandidate(blank, value))
        ++value;
    put(blank / 9, blank % 9, std::to_string(value).c_str());
    EXPECT_FALSE(shown().hasCandidate(gone.cell, gone.value));
    put(blank / 9, blank % 9, "");

    QTest::keyClick(wnd, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(shown().hasCandidate(gone.cell, gone.value));

    // A value taken away may be what the elimination rested on: it is forgotten.
    QTest::keyClick(wnd, Qt::Key_N);
    QTest::keyClick(wnd, Qt::Key_A);
    ASSERT_FALSE(shown().hasCandidate(gone.cell, gone.value));
    put(0, 3, "");
    EXPECT_TRUE(shown().hasCandidate(gone.cell, gone.value));
}

TEST_F(CandidatesWndTest, QuitTakesTheWindowAlong)
{
    dlg->OnQuit();
    EXPECT_EQ(dlg->GetCandidatesWnd(), nullptr);
}

} // namespace
