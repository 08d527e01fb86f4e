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

class SolveCommandsTest : public DialogFixture {
protected:
    // The boxes hold a complete grid that obeys the rules and keeps the puzzle's givens.
    bool showsSolutionOf(const GridText& puzzle)
    {
        SudokuBoard board(3);
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c) {
                const std::string t = box(r, c)->text().toStdString();
                if (t.size() != 1 || t < "1" || t > "9" || (!puzzle[r][c].empty() && puzzle[r][c] != t))
                    return false;
                board.cellAt(r, c)->setValue(t[0] - '0');
            }
        return board.isValid();
    }
};

TEST_F(SolveCommandsTest, SolveShowsTheOnlySolutionRevertThePuzzleAndSolvingTheSolutionGivesZeroFigures)
{
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_TRUE(showsSolutionOf(GridText{})) << "a blank grid has solutions too";
    putRows(kPuzzle);
    const GridText puzzle = grid();
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_TRUE(showsSolutionOf(puzzle));
    EXPECT_EQ(message(), kSolved);
    const QRegularExpression format(QStringLiteral("^\\d+; \\d+; \\d+$"));
    EXPECT_TRUE(format.match(QString::fromStdString(figures())).hasMatch()) << figures();
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 1), 3) << "the board keeps the puzzle";
    EXPECT_EQ(dlg->GetBoard()->valueAt(0, 2), 0);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(screen(), (Screen{puzzle, kInstructions, "", false}));

    dlg->SendCommand(IDC_SOLVE);
    const GridText solution = grid();
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(screen(), (Screen{solution, kSolved, "0; 0; 0", true})) << "a complete grid needs no search";
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), solution);
}

TEST_F(SolveCommandsTest, InvalidGridKeepsFiguresRevertAndGrid)
{
    dlg->SendCommand(IDC_SOLVE);
    // Two equal values in one row.
    put(0, 0, box(0, 8)->text().toLatin1().constData());
    Screen expected = screen();
    expected.message = kInvalid;
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(screen(), expected);
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
    // Valid, but the last cell of row 0 can only be 9, which column 8 already holds.
    const char* const rows[9] = {"123456780", "000000000", "000000000", "000000000", "000000009",
                                 "000000000", "000000000", "000000000", "000000000"};
    putRows(rows);
    const GridText unsolvable = grid();
    dlg->SendCommand(IDC_SOLVE);
    EXPECT_EQ(screen(), (Screen{unsolvable, kNoSolution, "", true})) << "a revert offered before stays offered";
    put(8, 8, "1");
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(grid(), unsolvable);
}

TEST_F(SolveCommandsTest, RevertShowsWhatReadGridLeftInTheBoard)
{
    put(0, 0, "4");
    dlg->SendCommand(IDC_SOLVE);
    put(0, 0, "12");  // leaves the cell as the last Solve read it
    put(0, 1, "x");
    dlg->SendCommand(IDC_SOLVE);
    dlg->SendCommand(IDC_REVERT);
    EXPECT_EQ(box(0, 0)->text(), QStringLiteral("4"));
    EXPECT_EQ(box(0, 1)->text(), QString());
}

} // namespace
