#pragma once

#include "platform/CDialog.h"

// Resource numbers of the program: dialogs, string, icon and bitmap, and the
// control ids of the main dialog.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_GRIDLARK_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDB_SUDOKU = 129;

// Strings of the window menu's puzzle items: the New Puzzle submenu, its five levels
// (easiest first), and Hint, Copy and Paste with their keys.
constexpr int IDS_NEW_PUZZLE = 110;
constexpr int IDS_LEVEL_EASY = 111;
constexpr int IDS_LEVEL_MEDIUM = 112;
constexpr int IDS_LEVEL_HARD = 113;
constexpr int IDS_LEVEL_EXPERT = 114;
constexpr int IDS_LEVEL_EXTREME = 115;
constexpr int IDS_HINT = 116;
constexpr int IDS_COPY = 117;
constexpr int IDS_PASTE = 118;
// The window menu's picture items: the candidates window, printing and export.
constexpr int IDS_CANDIDATES = 119;
constexpr int IDS_PRINT = 120;
constexpr int IDS_EXPORT = 121;

constexpr int IDC_FIRST_CELL = 1000;
constexpr int IDC_RESET_ALL = 1081;
constexpr int IDC_SOLVE = 1082;
constexpr int IDC_REVERT = 1083;
constexpr int IDC_HELP_BUTTON = 1084;
constexpr int IDC_MESSAGES = 1085;
constexpr int IDC_SAVE = 1086;
constexpr int IDC_ABSORB_RETURN = 1087;
constexpr int IDC_LOAD = 1088;
constexpr int IDC_FIGURES = 1089;
constexpr int IDC_NOTEPAD = 1090;

// The system menu commands: About, the puzzle items, and New Puzzle of each level,
// easiest first. System command ids keep their low four bits clear.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr unsigned IDM_HINT = 0x0020;
constexpr unsigned IDM_COPY = 0x0030;
constexpr unsigned IDM_PASTE = 0x0040;
constexpr unsigned IDM_CANDIDATES = 0x0050;
constexpr unsigned IDM_PRINT = 0x0060;
constexpr unsigned IDM_EXPORT = 0x0070;
constexpr unsigned IDM_NEW_EASY = 0x0100;
constexpr unsigned IDM_NEW_MEDIUM = 0x0110;
constexpr unsigned IDM_NEW_HARD = 0x0120;
constexpr unsigned IDM_NEW_EXPERT = 0x0130;
constexpr unsigned IDM_NEW_EXTREME = 0x0140;

constexpr int kGridSide = 9;

// The control id of the cell box at (row, col). The first two rows are irregular:
// row 1, column 0 is 1003, so row 0, columns 3 to 8 are one higher than the rule.
int CellBoxId(int row, int col);

// The text of string resource id, or an empty text.
const char* LoadResourceString(int id);

const DlgTemplate& GetGridlarkDialogTemplate();
const DlgTemplate& GetAboutBoxTemplate();
