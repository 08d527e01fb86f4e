#pragma once

#include "platform/CDialog.h"

#include <QIcon>

#include <memory>

class SudokuBoard;
class SudokuSolver;

// The main dialog: the 9x9 grid of cell boxes, the command buttons, the message
// line and the figures line. It owns the board read at the last Solve and the solver.
class CGridlarkDlg : public CDialog {
public:
    explicit CGridlarkDlg(QWidget* pParent = nullptr);
    ~CGridlarkDlg() override;

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

    const SudokuBoard* GetBoard() const { return m_board.get(); }
    const SudokuSolver* GetSolver() const { return m_solver.get(); }

    void OnSysCommand(UINT nID, std::intptr_t lParam) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NameCellBoxes();
    void HookArrowKeys();

    CButton m_solveButton;
    CButton m_revertButton;
    CEdit m_firstCell;
    std::unique_ptr<SudokuBoard> m_board;
    std::unique_ptr<SudokuSolver> m_solver;
    QIcon m_hIcon;
};
