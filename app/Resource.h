#pragma once

#include "platform/CDialog.h"

// Resource numbers of the program: dialogs, string, icon and bitmap, and the
// control ids of the main dialog.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_GRIDLARK_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDB_SUDOKU = 129;

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

// The system menu command of the About item.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

constexpr int kGridSide = 9;

// The control id of the cell box at (row, col). The first two rows are irregular:
// row 1, column 0 is 1003, so row 0, columns 3 to 8 are one higher than the rule.
int CellBoxId(int row, int col);

// The text of string resource id, or an empty text.
const char* LoadResourceString(int id);

const DlgTemplate& GetGridlarkDialogTemplate();
const DlgTemplate& GetAboutBoxTemplate();
