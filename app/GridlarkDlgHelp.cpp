// The Help command: four pages shown one after the other while the dialog is hidden.

#include "GridlarkDlg.h"

#include "GridlarkVersion.h"
#include "Resource.h"

namespace {

const char kHelp1Caption[] = "Help 1 - Tolvane's Sudoku Puzzle Solver";
const char kHelp2Caption[] = "Help 2 - Tolvane's Sudoku Puzzle Solver";
const char kHelp3Caption[] = "Help 3 - Tolvane's Sudoku Puzzle Solver";
const char kHelp4Caption[] = "Help 4 - Tolvane's Sudoku Puzzle Solver";

#define HELP_PROMPT "\n\nPress YES to view next help dialog or NO to exit help"

const char kHelp1Text[] =
    "\tSudoku Puzzle Solver - General\n"
    "\n"
    "The digits 1 to 9 are to be entered in the grid so that each one occurs exactly once in every row, "
    "every column and every 3x3 sub-square. A puzzle comes with starter values that lead to a single "
    "solution. This program solves puzzles that you type in or load from a file.\n"
    "\n"
    "Fill in the starter values and press the Solve button. If there is a solution, it is shown at once in "
    "the same grid. The message status box at the lower left tells you when there is no solution or when the "
    "starting grid is invalid.\n"
    "\n"
    "You can also solve a partly completed grid, to check that it holds no error and can still be solved, "
    "and then revert to it.\n"
    "\n"
    "Where the starting values allow several solutions, only the first one found is shown, and usually a "
    "different one at each solve. Solve, revert and solve again a blank grid to see this.\n"
    "\n"
    "Revert Button: returns to the grid that was shown before the last successful use of Solve, so that you "
    "can solve, revert, change the grid and solve again.\n"
    "\n"
    "File Operations: puzzles are loaded from and saved to text files, and the Notepad button starts a text "
    "editor for editing them. The next page describes the file format, which is also plain to see in any "
    "file saved by the program." HELP_PROMPT;

const char kHelp2Text[] =
    "\tSudoku Puzzle Solver - Grid File Format\n"
    "\n"
    "The format is fairly strict. Extra white space is ignored, but the layout that the program saves is "
    "the better one to keep, as it is easier to read.\n"
    "\n"
    "A file holds a '3' followed by the rows of grid values 1 to 9, with 0 for a blank cell, for example:\n"
    "\n"
    "3\n"
    "1  0  3  0  5  0  0  8  9\n"
    "0  0  0  4  3  6  5  0  0\n"
    "...\n"
    "... etc rows 3 through 9\n"
    "...\n"
    "Textual comments      As many comments as you wish\n"
    "\n"
    "Only the leading 3 is mandatory. The rest, 9 rows of 9 single-digit numbers separated by blanks or line "
    "ends, is read into the grid until the grid is full, the file ends or something that is not a number is "
    "read; the remaining cells stay blank. Use a 0 for a blank cell.\n"
    "\n"
    "To see an example: reset the grid, solve, save, and look at the file with Notepad.\n"
    "\n"
    "Why is the 3 at the top required? It is the sub-square size: the same files serve for grids with other "
    "sub-square sizes." HELP_PROMPT;

const char kHelp3Text[] =
    "\tSudoku Puzzle Solver - Usage and Notes\n"
    "\n"
    "Entering numbers on the grid: the boxes let you type numbers greater than 9. They make no sense and are "
    "treated as blank cells; Revert shows this.\n"
    "\n"
    "Deleting values in cells: delete a value with the Delete or Backspace key, or by typing 0. The space "
    "bar does not work, because the boxes accept only digits. 0 is the same as a blank cell.\n"
    "\n"
    "Solution Complexity: three numbers, a very broad measure of the complexity of the solution, are shown "
    "under the hiragana for \"sudoku\" each time a grid is solved. The algorithm first fills in all forced "
    "values, then tries each possible value of a selected empty cell in turn, repeating the algorithm for "
    "each. Easy puzzles may be solved by the forced values alone. A value is forced into a cell when it is "
    "the only value not yet used in a row, column or sub-square, or when the cell is the only one in a row, "
    "column or sub-square where the value is possible.\n"
    "\n"
    "The figures look like \"3792; 19; 1890\": the first is the total number of times a value was tried in a "
    "cell, the second the greatest depth to which values had to be tried (at most the number of cells in the "
    "grid), and the third the number of unsuccessful search paths.\n"
    "\n"
    "The figures for one puzzle vary from solve to solve, because the order in which the possible values are "
    "tried is chosen at random." HELP_PROMPT;

const char kHelp4Text[] = "Gridlark Version " GRIDLARK_VERSION "\n"
                          "\n"
                          "Gridlark solves Sudoku puzzles: type or load a grid, press Solve, and save "
                          "your grids as plain text files.";

#undef HELP_PROMPT

} // namespace

void CGridlarkDlg::OnHelp()
{
    ShowWindow(SW_HIDE);
    if (MessageBox(kHelp1Text, kHelp1Caption, MB_YESNO | MB_ICONINFORMATION) == IDYES &&
        MessageBox(kHelp2Text, kHelp2Caption, MB_YESNO | MB_ICONINFORMATION) == IDYES &&
        MessageBox(kHelp3Text, kHelp3Caption, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        MessageBox(kHelp4Text, kHelp4Caption, MB_OK | MB_ICONINFORMATION);
    SetDlgItemText(IDC_FIGURES, "");
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
}
