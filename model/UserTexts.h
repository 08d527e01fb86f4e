#pragma once

// The texts that the user reads: the dialog's message line and the errors of the
// grid file reader, which the dialog, gridlark-cli and the board's file constructor
// share so that they say the same thing word for word.
namespace UserTexts {

inline constexpr char instructions[] =
    "Enter grid values (from 1 - 9) or load them from a grid file.  Save, Solve or Reset (to clear all values to "
    "blank).  See Help for more instructions.";
inline constexpr char invalidGrid[] =
    "SORRY, the current grid is invalid - there are one or more values duplicated in a row, column or "
    "subsquare; or a value greater than 9. Attempt to solve abandoned.";
inline constexpr char noSolution[] =
    "There is no valid solution to this puzzle. Revert now applies to the currently displayed grid.";
inline constexpr char solved[] =
    "Press Revert button to go back to the Grid before the last successful use of the Solve button";
inline constexpr char openError[] =
    "SORRY, File Error - could not open selected file, or the file is not in the correct format.";
inline constexpr char saved[] = "Current Grid Saved to Selected File.  Change values and use buttons as before.";
inline constexpr char saveError[] =
    "SORRY, File Error - could not save selected file. Check file is not set to R/O and try again.";

// printf formats of the grid file reader's errors on standard error. The file name
// is a %s; so is the inner size, quoted as the file writes it; the largest inner
// size allowed is a %d.
inline constexpr char cannotOpenFile[] = "SudokuBoard Error Opening file %s.\n";
inline constexpr char noInnerSize[] = "SudokuBoard creation ERROR\n\tCannot read inner grid size from %s\n";
inline constexpr char innerSizeOutOfRange[] =
    "SudokuBoard creation ERROR\n\tInner grid size %s in %s is out of range (0 to %d)\n";
// A blank board asked for an inner size out of range: the size and the largest, %d each.
inline constexpr char blankInnerSizeOutOfRange[] =
    "SudokuBoard creation ERROR\n\tInner grid size %d is out of range (0 to %d)\n";

} // namespace UserTexts
