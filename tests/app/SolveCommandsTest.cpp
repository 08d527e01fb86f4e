#include "DialogFixture.h"

#include "SudokuBoard.h"

#include <QRegularExpression>

namespace {

const char* const kInvalid =
    "SORRY, the current grid is invalid - there are one or more values duplicated in a row, column or subsquare; "
    "or a value greater than 9. Attempt to solve abandoned.";
const char* const kNoSolution =
    "There is no valid solution to this puzzle. Revert now applies to the currently displayed grid.";
const char* const kSolved =
    "Press Revert button to go back to the Grid before the last successful use of the Solve button";

const char* const kSolution[9] = {
    "534678912", "672195348", "198342567", "859761423", "426853791",
    "713924856", "961537284", "287419635", "345286179",
};

class SolveCommandsTest : public DialogFixture {
protected:
    // The boxes hold a complete grid that obeys the rules.
    bool showsCompleteValidGrid()
    {
        SudokuBoard board(3);
        for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 9; ++c) {
                const std::string t = box(r, c)->text().toStdString();
                if (t.size() != 1 || t[0] < '1' || t[0] > '9')
                    return false;
                board.cellAt(r, c)->setValue(t[0] - '0');
            }
        }
        return board.isValid();
    }

    // A puzzle whose only solution is kSolution.
    void putPuzzle()
    {
        const char* const puzzle[9] = {
            "530070000", "600195000", "098000060", "800060003", "400803001",
            "700020006", "060000280", "000419005", "000080079",
        };
        for (int r = 0; r < 9; ++r)
            putRow(r, puzzle[r]);
    }

    bool figuresLookRight()
    {
        static const QRegularExpression format(QStringLiteral("^\\d+; \\d+; \\d+$"));
        return format.match(QString::fromStdString(figures())).hasMatch();
    }
};

TEST_F(SolveCommandsTest, SolveRevertSolveOnABlankGrid)
{
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_TRUE(showsCompleteValidGrid());
    EXPECT_TRUE(enabled(IDC_REVERT));
    EXPECT_EQ(message(), kSolved);
    EXPECT_TRUE(figuresLookRight()) << figures();

    dlg->SendCommand(IDC_REVERT);
    for (const auto& row : grid())
        for (const auto& cell : row)
            EXPECT_EQ(cell, "");
    EXPECT_FALSE(enabled(IDC_REVERT));
    EXPECT_EQ(message(), kInstructions);
    EXPECT_EQ(figures(), "");

    dlg->SendCommand(IDC_SOLVE);
    EXPECT_TRUE(showsCompleteValidGrid());
    EXPECT_TRUE(enabled(IDC_REVERT));
}

TEST_F(SolveCommandsTest, SolveShowsTheOnlySolutionAndRevertShowsThePuzzle)
{
    putPuzzle();
    const GridText puzzle = grid();
    dlg->SendCommand(IDC_SOLVE);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(box(r, c)->text().toStdString(), std::string(1, kSolution[r][c]));
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 1), 3) << "the board keeps the puzzle";
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 2), 0);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), puzzle);
}

TEST_F(SolveCommandsTest, InvalidGridKeepsFiguresRevertAndGrid)
{
    dlg->SendCommand(IDC_SOLVE);
    const std::string oldFigures = figures();
    ASSERT_TRUE(enabled(IDC_REVERT));
    // Two equal values in one row.
    put(0, 0, box(0, 8)->text().toLatin1().constData());
    const GridText shown = grid();
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(message(), kInvalid);
    EXPECT_EQ(figures(), oldFigures);
    EXPECT_TRUE(enabled(IDC_REVERT));
    EXPECT_EQ(grid(), shown);
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 0), dlg->GetBoard()->valueAt(0, 8)) << "the board holds what was read";

    dlg->SendCommand(IDC_RESET_ALL);
    put(3, 3, "5");
    put(5, 5, "5");
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(message(), kInvalid) << "same value twice in a sub-square";
    EXPECT_FALSE(enabled(IDC_REVERT));
}

TEST_F(SolveCommandsTest, UnsolvableGridClearsFiguresAndRevertShowsIt)
{
    dlg->SendCommand(IDC_SOLVE);
    ASSERT_TRUE(enabled(IDC_REVERT));
    dlg->SendCommand(IDC_RESET_ALL);
    dlg->SendCommand(IDC_SOLVE);
    ASSERT_FALSE(figures().empty());
    // Valid, but the last cell of row 0 can only be 9, which column 8 already holds.
    putRow(0, "123456780");
    put(4, 8, "9");
    for (int r = 1; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            if (!(r == 4 && c == 8))
                put(r, c, "");
    const GridText unsolvable = grid();
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(message(), kNoSolution);
    EXPECT_EQ(figures(), "");
    EXPECT_TRUE(enabled(IDC_REVERT)) << "a revert offered before stays offered";
    EXPECT_EQ(grid(), unsolvable);
    put(8, 8, "1");
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), unsolvable);
}

TEST_F(SolveCommandsTest, CompleteGridGivesZeroFigures)
{
    for (int r = 0; r < 9; ++r)
        putRow(r, kSolution[r]);
    const GridText complete = grid();
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(grid(), complete);
    EXPECT_EQ(figures(), "0; 0; 0");
    EXPECT_TRUE(enabled(IDC_REVERT));
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), complete);
}

TEST_F(SolveCommandsTest, RevertShowsWhatReadGridLeftInTheBoard)
{
    put(0, 0, "4");
    dlg->SendCommand(IDC_SOLVE);
    ASSERT_EQ(box(0, 0)->text(), QStringLiteral("4"));
    put(0, 0, "12");
    put(0, 1, "x");
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 0), 4) << "12 leaves the cell as the last Solve read it";
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 1), 0);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(box(0, 0)->text(), QStringLiteral("4"));
    EXPECT_EQ(box(0, 1)->text(), QString());
}

TEST_F(SolveCommandsTest, SolvingTheShownSolutionMakesItTheRevertTarget)
{
    putPuzzle();
    dlg->SendCommand(IDC_SOLVE);
    const GridText solution = grid();
    dlg->SendCommand(IDC_SOLVE);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), solution);
}

TEST_F(SolveCommandsTest, ResetAllReturnsToTheStartState)
{
    putPuzzle();
    dlg->SendCommand(IDC_SOLVE);
    box(5, 5)->setFocus();
    dlg->SendCommand(IDC_RESET_ALL);
    for (const auto& row : grid())
        for (const auto& cell : row)
            EXPECT_EQ(cell, "");
    EXPECT_FALSE(enabled(IDC_REVERT));
    EXPECT_TRUE(enabled(IDC_SOLVE));
    EXPECT_EQ(message(), kInstructions);
    EXPECT_EQ(figures(), "");
    EXPECT_EQ(dlg->focusWidget(), box(0, 0));
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            EXPECT_EQ(dlg->GetBoard()->valueAt(r, c), 0);
            EXPECT_EQ(dlg->GetBoard()->cellAt(r, c)->numPossibles(), 9);
        }
}

} // namespace
