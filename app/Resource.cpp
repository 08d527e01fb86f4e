#include "Resource.h"

#include "GridlarkVersion.h"

namespace {

// Top-left corners of the cell boxes in dialog units, by row and column.
constexpr int kCellX[kGridSide][kGridSide] = {
    {37, 63, 89, 114, 140, 166, 195, 221, 245}, {37, 63, 89, 114, 140, 166, 195, 221, 245},
    {37, 63, 89, 114, 140, 166, 195, 221, 245}, {36, 62, 88, 114, 140, 166, 195, 221, 247},
    {36, 62, 88, 114, 140, 166, 195, 221, 247}, {36, 62, 88, 114, 140, 166, 195, 221, 247},
    {37, 63, 89, 116, 142, 168, 199, 223, 247}, {37, 63, 89, 116, 142, 168, 199, 223, 247},
    {37, 63, 89, 116, 142, 168, 199, 223, 247},
};
constexpr int kCellY[kGridSide][kGridSide] = {
    {42, 42, 42, 42, 42, 42, 42, 42, 42},         {60, 60, 60, 59, 59, 59, 59, 59, 59},
    {77, 77, 77, 77, 77, 77, 77, 77, 77},         {101, 101, 101, 101, 101, 101, 101, 101, 101},
    {118, 118, 118, 118, 118, 118, 117, 117, 117}, {136, 136, 136, 136, 136, 136, 136, 136, 136},
    {163, 163, 163, 163, 163, 163, 163, 163, 163}, {182, 182, 182, 182, 182, 182, 182, 181, 181},
    {200, 200, 200, 200, 200, 200, 200, 200, 200},
};

// The group boxes around the sub-squares, in template order.
constexpr int kGroupBoxes[9][2] = {
    {29, 32}, {29, 93}, {30, 154}, {109, 32}, {191, 32}, {110, 93}, {191, 93}, {192, 154}, {111, 154},
};

constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE;

DlgTemplate makeGridlarkDialog()
{
    using C = DlgItemClass;
    std::vector<DlgItemTemplate> items;
    items.push_back({IDCANCEL, C::Button, "Quit", 219, 7, 50, 14, kPushButton});
    items.push_back({IDC_MESSAGES, C::Static, "Messages/Instructions", 13, 239, 195, 29, SS_LEFT | WS_VISIBLE});
    for (int row = 0; row < kGridSide; ++row) {
        for (int col = 0; col < kGridSide; ++col) {
            DWORD style = ES_CENTER | ES_NUMBER | WS_TABSTOP | WS_VISIBLE;
            if (row == 0 && col == 0)
                style |= WS_GROUP;
            items.push_back({CellBoxId(row, col), C::Edit, "", kCellX[row][col], kCellY[row][col], 14, 12,
                             style, WS_EX_CLIENTEDGE});
        }
    }
    for (const auto& box : kGroupBoxes)
        items.push_back({-1, C::Button, "", box[0], box[1], 78, 62, BS_GROUPBOX | WS_VISIBLE});
    items.push_back({IDC_RESET_ALL, C::Button, "Reset All", 30, 221, 50, 14, kPushButton});
    items.push_back({IDC_SOLVE, C::Button, "Solve", 156, 221, 50, 14, kPushButton});
    items.push_back({IDC_REVERT, C::Button, "Revert", 93, 221, 50, 14, kPushButton});
    items.push_back({IDC_HELP_BUTTON, C::Button, "Help", 29, 7, 50, 14, kPushButton});
    items.push_back({-1, C::Static, "", 104, 1, 85, 22, SS_BITMAP | WS_VISIBLE, 0, IDB_SUDOKU});
    items.push_back({IDC_SAVE, C::Button, "Save", 219, 221, 50, 14, kPushButton});
    items.push_back({IDC_ABSORB_RETURN, C::Button, "No Show Button to Absorb Carriage Returns", 7, 210, 281, 14,
                     BS_DEFPUSHBUTTON | BS_NOTIFY | WS_TABSTOP | WS_DISABLED});
    items.push_back({IDC_LOAD, C::Button, "Load", 219, 238, 50, 14, kPushButton});
    items.push_back({IDC_FIGURES, C::Static, "", 125, 24, 47, 10, SS_CENTER | SS_CENTERIMAGE | WS_VISIBLE});
    items.push_back({IDC_NOTEPAD, C::Button, "Notepad", 219, 255, 50, 14, kPushButton});
    return {IDD_GRIDLARK_DIALOG, "Sudoko", 307, 275, "Arial", 8, true, std::move(items)};
}

DlgTemplate makeAboutBox()
{
    using C = DlgItemClass;
    constexpr DWORD kText = SS_LEFT | WS_GROUP | WS_VISIBLE;
    std::vector<DlgItemTemplate> items = {
        {-1, C::Static, "", 11, 17, 20, 20, SS_ICON | WS_VISIBLE, 0, IDR_MAINFRAME},
        {-1, C::Static, "Gridlark Version " GRIDLARK_VERSION, 47, 8, 119, 8, kText | SS_NOPREFIX},
        {-1, C::Static, "July 2005", 47, 38, 119, 8, kText},
        {IDOK, C::Button, "OK", 178, 7, 32, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP | WS_VISIBLE},
        {-1, C::Static, "Tolvane's Sudoku Puzzle Solver", 47, 23, 119, 8, kText},
    };
    return {IDD_ABOUTBOX, "About Gridlark", 217, 55, "MS Sans Serif", 8, false, std::move(items)};
}

} // namespace

int CellBoxId(int row, int col)
{
    if (row == 1 && col == 0)
        return 1003;
    const int id = IDC_FIRST_CELL + kGridSide * row + col;
    return (row == 0 && col >= 3) ? id + 1 : id;
}

const char* LoadResourceString(int id)
{
    static const struct {
        int id;
        const char* text;
    } kStrings[] = {
        {IDS_ABOUTBOX, "&About Gridlark..."}, {IDS_NEW_PUZZLE, "New P&uzzle"},
        {IDS_LEVEL_EASY, "&Easy"},            {IDS_LEVEL_MEDIUM, "&Medium"},
        {IDS_LEVEL_HARD, "&Hard"},            {IDS_LEVEL_EXPERT, "E&xpert"},
        {IDS_LEVEL_EXTREME, "Ex&treme"},      {IDS_HINT, "&Hint"},
        {IDS_COPY, "C&opy\tCtrl+Shift+C"},    {IDS_PASTE, "&Paste\tCtrl+Shift+V"},
        {IDS_CANDIDATES, "Can&didates...\tCtrl+Shift+D"},
        {IDS_PRINT, "P&rint...\tCtrl+Shift+P"},
        {IDS_EXPORT, "&Export Picture...\tCtrl+Shift+E"},
    };
    for (const auto& entry : kStrings) {
        if (entry.id == id)
            return entry.text;
    }
    return "";
}

const DlgTemplate& GetGridlarkDialogTemplate()
{
    static const DlgTemplate dlg = makeGridlarkDialog();
    return dlg;
}

const DlgTemplate& GetAboutBoxTemplate()
{
    static const DlgTemplate dlg = makeAboutBox();
    return dlg;
}
