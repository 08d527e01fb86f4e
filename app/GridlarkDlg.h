#pragma once

#include "GridPainter.h"
#include "platform/CBackgroundJob.h"
#include "platform/CDialog.h"
#include "platform/CWaitCursor.h"

#include <QIcon>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CCandidatesWnd;
class SudokuBoard;
class SudokuSolver;
enum class Level;
struct GeneratedPuzzle;

// The main dialog: the 9x9 grid of cell boxes, the command buttons, the message
// line and the figures line. It owns the board read at the last Solve and the solver.
class CGridlarkDlg : public CDialog {
public:
    explicit CGridlarkDlg(QWidget* pParent = nullptr);
    ~CGridlarkDlg() override;

    // A file to load when the dialog starts, as Load loads a file the user chose;
    // set before the dialog is created.
    void SetStartFile(const std::string& path) { m_startFile = path; }

    void ShowBoard(const SudokuBoard* board);
    void ReadGrid(SudokuBoard* board);

    void OnHelp();
    void OnResetAll();
    void OnRevert();
    void OnSolve();
    void OnSave();
    void OnLoad();
    void OnQuit();
    void OnNotepad();

    // The window menu's puzzle items; they change only the cell boxes. New Puzzle
    // works off the user-interface thread and fills the boxes once its puzzle is made.
    void OnNewPuzzle(Level level);
    bool IsGenerating() const { return m_generation != nullptr; }
    // Stops a New Puzzle at work; the boxes stay as they are.
    void CancelGeneration();
    void OnHint();
    void OnCopy();
    void OnPaste();

    // The window menu's picture items: the candidates window, kept in step with the
    // boxes, and the grid printed or written to a picture file.
    void OnCandidates();
    void OnPrint();
    void OnExportPicture();
    // Null until the window menu opens it.
    CCandidatesWnd* GetCandidatesWnd() const { return m_candidates; }

    const SudokuBoard* GetBoard() const { return m_board.get(); }
    // From the start of Quit on, commands still queued are dropped: the board is gone.
    bool IsQuitting() const { return m_quitting; }
    const SudokuSolver* GetSolver() const { return m_solver.get(); }

    void OnSysCommand(UINT nID, std::intptr_t lParam) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void NameCellBoxes();
    void HookCellBoxes();
    // Load's check of the file and its showing, with their messages.
    void LoadFile(const std::string& path);
    // New Puzzle, Hint, Copy and Paste in the window menu, with their keys.
    void AppendPuzzleMenu(CMenu& menu);
    // Runs the puzzle item of a window-menu command; false for any other command.
    BOOL OnPuzzleCommand(UINT nID);
    // Ctrl+V in a box: the whole puzzle when the clipboard holds one; false otherwise,
    // and the box pastes the text itself.
    BOOL PasteIntoBox();
    void OnPuzzleReady(const std::optional<GeneratedPuzzle>& puzzle);
    void AppendPictureMenu(CMenu& menu);
    BOOL OnPictureCommand(UINT nID);
    // The values in the boxes, row by row, as ReadGrid reads them.
    std::vector<int> GetBoxValues();
    void OnBoxChanged();
    // What Print and Export draw: the candidates window's picture when it is open,
    // else the values in the boxes.
    GridPicture GetPicture();

    CButton m_solveButton;
    CButton m_revertButton;
    CEdit m_firstCell;
    std::unique_ptr<SudokuBoard> m_board;
    std::unique_ptr<SudokuSolver> m_solver;
    QIcon m_hIcon;
    std::string m_startFile;
    bool m_quitting = false;
    std::optional<CWaitCursor> m_busy;
    // A child window, deleted with the dialog or on Quit.
    CCandidatesWnd* m_candidates = nullptr;
    // Last, so that it goes first: its thread must end before anything it reports to.
    std::unique_ptr<CBackgroundJob> m_generation;
};
