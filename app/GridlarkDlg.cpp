#include "GridlarkDlg.h"

#include "AboutDlg.h"
#include "CandidatesWnd.h"
#include "Resource.h"
#include "platform/CFileDialog.h"
#include "platform/CModalHost.h"
#include "platform/CTextEditor.h"
#include "platform/ResourceLoader.h"

#include "GridFile.h"
#include "SudokuBoard.h"
#include "SudokuSolver.h"
#include "UserTexts.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const char kGridFileFilter[] = "Text Files (*.txt)|*.txt|Grid Files (*.grid)|*.grid|All Files (*.*)|*.*||";
constexpr DWORD kLoadFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST | OFN_EXPLORER;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_CREATEPROMPT |
                             OFN_NOREADONLYRETURN | OFN_EXPLORER;

// The property of a cell box that holds its position, row * 9 + column.
const char kGridCellProperty[] = "gridCell";

// The buffer that GetDlgItemText fills for one cell box: six characters and the null.
constexpr int kCellTextBuffer = 7;

using Handler = void (CGridlarkDlg::*)();
struct MessageMapEntry {
    int id;
    Handler handler;
};

const MessageMapEntry kMessageMap[] = {
    {IDC_HELP_BUTTON, &CGridlarkDlg::OnHelp}, {IDC_RESET_ALL, &CGridlarkDlg::OnResetAll},
    {IDC_REVERT, &CGridlarkDlg::OnRevert},    {IDC_SOLVE, &CGridlarkDlg::OnSolve},
    {IDC_SAVE, &CGridlarkDlg::OnSave},        {IDC_LOAD, &CGridlarkDlg::OnLoad},
    {IDCANCEL, &CGridlarkDlg::OnQuit},        {IDC_NOTEPAD, &CGridlarkDlg::OnNotepad},
};

// Fills folder with the current directory, or leaves it empty when that cannot be read.
void readCurrentDirectory(char (&folder)[kMaxPath])
{
    std::memset(folder, 0, sizeof folder);
    if (!getcwd(folder, sizeof folder))
        folder[0] = '\0';
}

// Makes the folder of path (up to and including its last separator) the current directory.
void enterFolderOf(const std::string& path, char (&folder)[kMaxPath])
{
    std::memset(folder, 0, sizeof folder);
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 >= sizeof folder)
        return;
    std::memcpy(folder, path.data(), slash + 1);
    static_cast<void>(chdir(folder));
}

// Runs the file dialog from the current directory with an empty initial name. When
// the user confirms, the folder of the chosen path becomes the current directory
// (before the file is opened) and true is returned with the path.
bool ChooseFile(CFileDialog& fileDlg, const char* title, std::string& path)
{
    char folder[kMaxPath];
    readCurrentDirectory(folder);
    fileDlg.GetOFN().lpstrInitialDir = folder;
    fileDlg.GetOFN().lpstrFile[0] = '\0';
    fileDlg.GetOFN().lpstrTitle = title;
    if (fileDlg.DoModal() != IDOK)
        return false;
    path = fileDlg.GetPathName();
    enterFolderOf(path, folder);
    return true;
}

} // namespace

CGridlarkDlg::CGridlarkDlg(QWidget* pParent)
    : CDialog(GetGridlarkDialogTemplate(), pParent), m_hIcon(LoadIcon(IDR_MAINFRAME))
{
}

CGridlarkDlg::~CGridlarkDlg()
{
    // The board goes before the solver, as on Quit.
    CancelGeneration();
    m_board.reset();
    m_solver.reset();
}

void CGridlarkDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SOLVE, m_solveButton);
    DDX_Control(pDX, IDC_REVERT, m_revertButton);
    DDX_Control(pDX, IDC_FIRST_CELL, m_firstCell);
}

BOOL CGridlarkDlg::OnCommand(int id)
{
    if (m_quitting)
        return true;
    for (const MessageMapEntry& entry : kMessageMap) {
        if (entry.id == id) {
            (this->*entry.handler)();
            return true;
        }
    }
    return false;
}

BOOL CGridlarkDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(false)) {
        AppendPictureMenu(*pSysMenu);
        AppendPuzzleMenu(*pSysMenu);
        const char* strAboutMenu = LoadResourceString(IDS_ABOUTBOX);
        if (*strAboutMenu) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    // Big and small icon in one: Qt picks the size. Minimised, the window manager
    // draws the window from this icon, so there is nothing to paint for that state
    // and no drag icon to give.
    setWindowIcon(m_hIcon);

    m_board = std::make_unique<SudokuBoard>(3);
    m_solver = std::make_unique<SudokuSolver>();
    NameCellBoxes();
    HookCellBoxes();
    ShowBoard(m_board.get());
    m_solveButton.EnableWindow(true);
    m_revertButton.EnableWindow(false);
    SetDlgItemText(IDC_MESSAGES, UserTexts::instructions);
    SetDlgItemText(IDC_FIGURES, "");
    m_firstCell.SetFocus();
    if (!m_startFile.empty()) {
        // What Load does once the user has chosen the file.
        char folder[kMaxPath];
        enterFolderOf(m_startFile, folder);
        LoadFile(m_startFile);
    }
    return false;
}

void CGridlarkDlg::NameCellBoxes()
{
    for (int row = 0; row < kGridSide; ++row) {
        for (int col = 0; col < kGridSide; ++col) {
            if (CWnd* box = GetDlgItem(CellBoxId(row, col)))
                box->GetSafeHwnd()->setAccessibleName(QStringLiteral("Row %1, Column %2").arg(row + 1).arg(col + 1));
        }
    }
    // The two lines keep their text as their accessible name, so that a screen
    // reader reads it and hears of each change; what they are goes in the description.
    if (CWnd* messages = GetDlgItem(IDC_MESSAGES))
        messages->GetSafeHwnd()->setAccessibleDescription(QStringLiteral("Messages"));
    if (CWnd* figures = GetDlgItem(IDC_FIGURES))
        figures->GetSafeHwnd()->setAccessibleDescription(QStringLiteral("Solution complexity"));
}

// Each box knows its place, for the arrow keys; each change of a box reaches the
// candidates window.
void CGridlarkDlg::HookCellBoxes()
{
    for (int row = 0; row < kGridSide; ++row) {
        for (int col = 0; col < kGridSide; ++col) {
            if (CWnd* box = GetDlgItem(CellBoxId(row, col))) {
                box->GetSafeHwnd()->setProperty(kGridCellProperty, row * kGridSide + col);
                if (auto* edit = qobject_cast<QLineEdit*>(box->GetSafeHwnd()))
                    connect(edit, &QLineEdit::textChanged, this, [this] { OnBoxChanged(); });
            }
        }
    }
}

// The base watches every control's keys. In a cell box the arrow keys move the focus
// to the neighbouring box and stop at the edge of the grid; they never change a value,
// and the tab order stays the template's. Ctrl+V there pastes a whole puzzle.
bool CGridlarkDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return CDialog::eventFilter(watched, event);
    // Keys queued behind Quit would reach commands whose board is gone.
    if (m_quitting)
        return true;
    // The accelerators first: Ctrl+Shift+V is Paste in a box too.
    if (CDialog::eventFilter(watched, event))
        return true;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QVariant cell = watched->property(kGridCellProperty);
    if (cell.isValid() && key->matches(QKeySequence::Paste) && PasteIntoBox())
        return true;
    if (!cell.isValid() || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    int row = cell.toInt() / kGridSide;
    int col = cell.toInt() % kGridSide;
    switch (key->key()) {
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, kGridSide - 1);
        break;
    case Qt::Key_Left:
        col = std::max(col - 1, 0);
        break;
    case Qt::Key_Right:
        col = std::min(col + 1, kGridSide - 1);
        break;
    default:
        return false;
    }
    // Entered as Tab enters a box, with its text selected, so a digit typed replaces it.
    if (CWnd* box = GetDlgItem(CellBoxId(row, col)))
        box->GetSafeHwnd()->setFocus(Qt::TabFocusReason);
    return true;
}

// Esc stops a New Puzzle at work rather than the program, so that a player who gives
// up waiting keeps the grid; Quit, the close box and Alt+F4 still end it at once.
void CGridlarkDlg::keyPressEvent(QKeyEvent* event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (m_generation && event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        CancelGeneration();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CGridlarkDlg::OnSysCommand(UINT nID, std::intptr_t lParam)
{
    if (m_quitting)
        return;
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else if (!OnPuzzleCommand(nID) && !OnPictureCommand(nID)) {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CGridlarkDlg::OnQuit()
{
    m_quitting = true;
    CancelGeneration();
    delete m_candidates;
    m_candidates = nullptr;
    m_board.reset();
    m_solver.reset();
    DestroyWindow();
}

void CGridlarkDlg::ShowBoard(const SudokuBoard* board)
{
    char text[16];
    for (int row = 0; row < kGridSide; ++row) {
        for (int col = 0; col < kGridSide; ++col) {
            const int v = board->valueAt(row, col);
            if (v != 0)
                std::snprintf(text, sizeof text, "%d", v);
            else
                text[0] = '\0';
            SetDlgItemText(CellBoxId(row, col), text);
        }
    }
}

void CGridlarkDlg::ReadGrid(SudokuBoard* board)
{
    char text[kCellTextBuffer];
    for (int row = 0; row < kGridSide; ++row) {
        for (int col = 0; col < kGridSide; ++col) {
            GetDlgItemText(CellBoxId(row, col), text, kCellTextBuffer);
            board->cellAt(row, col)->setValue(std::atoi(text));
        }
    }
    board->recomputePossibles();
}

void CGridlarkDlg::OnSolve()
{
    ReadGrid(m_board.get());
    if (!m_board->isValid()) {
        SetDlgItemText(IDC_MESSAGES, UserTexts::invalidGrid);
        return;
    }
    const SudokuBoard* solution = m_solver->solve(m_board.get(), false, false);
    if (!solution) {
        SetDlgItemText(IDC_MESSAGES, UserTexts::noSolution);
        SetDlgItemText(IDC_FIGURES, "");
        return;
    }
    ShowBoard(solution);
    m_revertButton.EnableWindow(true);
    SetDlgItemText(IDC_MESSAGES, UserTexts::solved);
    char figures[48];
    std::snprintf(figures, sizeof figures, "%li; %li; %li", static_cast<long>(m_solver->getTries()),
                  static_cast<long>(m_solver->getMaxDepth()), static_cast<long>(m_solver->getDeadEnds()));
    SetDlgItemText(IDC_FIGURES, figures);
}

void CGridlarkDlg::OnRevert()
{
    ShowBoard(m_board.get());
    m_revertButton.EnableWindow(false);
    SetDlgItemText(IDC_MESSAGES, UserTexts::instructions);
    SetDlgItemText(IDC_FIGURES, "");
}

void CGridlarkDlg::OnResetAll()
{
    for (int r = 0; r < m_board->getSize(); ++r) {
        for (int c = 0; c < m_board->getSize(); ++c)
            m_board->cellAt(r, c)->setValue(0);
    }
    m_board->recomputePossibles();
    ShowBoard(m_board.get());
    m_solveButton.EnableWindow(true);
    m_revertButton.EnableWindow(false);
    SetDlgItemText(IDC_MESSAGES, UserTexts::instructions);
    SetDlgItemText(IDC_FIGURES, "");
    m_firstCell.SetFocus();
}

void CGridlarkDlg::OnLoad()
{
    CFileDialog fileDlg(true, nullptr, nullptr, kLoadFlags, kGridFileFilter);
    std::string path;
    if (ChooseFile(fileDlg, "Select Sudoku Grid File", path))
        LoadFile(path);
    SetDlgItemText(IDC_FIGURES, "");
}

void CGridlarkDlg::LoadFile(const std::string& path)
{
    bool opened = false;
    int innerSize = 0;
    const bool read = readLeadingNumber(path.c_str(), opened, innerSize);
    // The file is read a second time below; should it have changed or gone in
    // between, the grid on screen stays and the user is told, rather than the
    // program ending as the board's file constructor would.
    GridRead loaded;
    if (read && innerSize == 3)
        loaded = readGridFile(path.c_str());
    if (loaded.board && loaded.board->getInnerSize() == 3) {
        ShowBoard(loaded.board.get());
        SetDlgItemText(IDC_MESSAGES, UserTexts::instructions);
    } else {
        SetDlgItemText(IDC_MESSAGES, UserTexts::openError);
    }
}

void CGridlarkDlg::OnSave()
{
    CFileDialog fileDlg(false, nullptr, nullptr, kSaveFlags, kGridFileFilter);
    std::string path;
    if (ChooseFile(fileDlg, "Save Sudoku Grid File", path)) {
        if (std::FILE* out = std::fopen(path.c_str(), "w")) {
            SudokuBoard board(m_board->getInnerSize());
            ReadGrid(&board);
            // Only the open decides the message: write and close errors (a full disk)
            // are not looked at, and the grid stays in the boxes either way.
            board.writeGrid(out);
            std::fclose(out);
            SetDlgItemText(IDC_MESSAGES, UserTexts::saved);
        } else {
            SetDlgItemText(IDC_MESSAGES, UserTexts::saveError);
        }
    }
    SetDlgItemText(IDC_FIGURES, "");
}

void CGridlarkDlg::OnNotepad()
{
    ShowWindow(SW_HIDE);
    // notepad.exe from the search path, or the desktop's own editor; whatever it
    // returns, and a failure to find or start one, is ignored.
    if (const auto editor = CTextEditor::Find())
        CModalHost::Get().SpawnAndWait(editor->program, editor->arguments);
    ShowWindow(SW_SHOWNORMAL);
}
