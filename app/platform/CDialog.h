#pragma once

#include "CModalHost.h"
#include "CWnd.h"
#include "WinDefs.h"

#include <QDialog>
#include <QFont>
#include <QRect>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QEventLoop;

// The window class of a dialog control, as a template names it.
enum class DlgItemClass { Button, Edit, Static };

// One control of a dialog template: position and size in dialog units. image is
// the resource id shown by SS_BITMAP and SS_ICON statics, 0 for the others.
struct DlgItemTemplate {
    int id;
    DlgItemClass cls;
    const char* text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
    int image = 0;
};

// A dialog template: caption, client size in dialog units, font and controls in
// template order, which is also the tab order and the z-order (first on top).
struct DlgTemplate {
    int id;
    const char* caption;
    int cx, cy;
    const char* faceName;
    int pointSize;
    bool minimizeBox;
    std::vector<DlgItemTemplate> items;
};

class CDataExchange;
class QMenu;

constexpr UINT MF_STRING = 0x0;
constexpr UINT MF_POPUP = 0x10;
constexpr UINT MF_SEPARATOR = 0x800;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_CLOSE = 0xF060;

// A menu as AppendMenu builds it: items in order, a separator and a submenu having id 0.
class CMenu {
public:
    struct Item {
        UINT flags;
        UINT id;
        std::string text;
        std::vector<Item> popup;
    };
    BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr);
    // Appends a copy of popup as a submenu; flags must hold MF_POPUP.
    BOOL AppendMenu(UINT flags, const CMenu& popup, const char* text);
    const std::vector<Item>& GetItems() const { return m_items; }

private:
    std::vector<Item> m_items;
};

// Dialog base in the shape of MFC's CDialog, on a Qt window: builds the controls of
// a template laid out in dialog units, gives them by id, and sends button clicks,
// Esc and the close box to OnCommand as WM_COMMAND would.
class CDialog : public QDialog, public CModalWindow {
public:
    explicit CDialog(const DlgTemplate& dlgTemplate, QWidget* parent = nullptr);
    ~CDialog() override;

    // Creates the window and its controls and runs OnInitDialog, without showing it.
    BOOL Create();
    // Runs the dialog modally through the modal host; returns the EndDialog result.
    INT_PTR DoModal();
    // The modal loop itself: shows the window and returns when it ends or is destroyed.
    INT_PTR RunModalLoop() override;

    void EndDialog(int result);
    BOOL DestroyWindow();
    bool IsDestroyed() const { return m_destroyed; }

    // The window's own menu, shown as the dialog's context menu (right click on the
    // background, the Menu key or Alt+Space): Linux window managers draw their own
    // window menu and take no items from programs.
    CMenu* GetSystemMenu(BOOL revert);
    void ShowSystemMenu(const QPoint& globalPos);
    // Keys for commands of the window's menu, working wherever the focus is in the
    // dialog; as on Windows, a key of a window-menu item goes to OnSysCommand.
    void SetSysAccelerators(std::vector<ACCEL> accelerators) { m_accelerators = std::move(accelerators); }

    CWnd* GetDlgItem(int id);
    void SetDlgItemText(int id, const char* text);
    // Copies at most maxCount - 1 characters and a terminator; returns the count copied.
    UINT GetDlgItemText(int id, char* buffer, int maxCount);
    BOOL ShowWindow(int cmdShow);
    void UpdateWindow();
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // Dialog base units of the template's font: average character width and height.
    int GetBaseUnitX() const { return m_baseUnitX; }
    int GetBaseUnitY() const { return m_baseUnitY; }
    // Converts a rectangle in dialog units to pixels, as MapDialogRect does.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;
    const DlgTemplate& GetTemplate() const { return m_template; }

    // Sends a command as a click of the control with this id would.
    void SendCommand(int id);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // Returns true when the dialog's message map handled the id.
    virtual BOOL OnCommand(int id);
    virtual void OnOK();
    virtual void OnCancel();
    // Move, Minimize, Restore and Close go to the window; other ids are the dialog's.
    virtual void OnSysCommand(UINT nID, std::intptr_t lParam);

    void keyPressEvent(QKeyEvent* event) override;
    // Sees the key presses of every control, for the accelerators.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;

private:
    void CreateControls();
    QWidget* CreateControl(const DlgItemTemplate& item);
    void DispatchCommand(int id);
    // Runs the command of an accelerator that matches the key; true when one did.
    bool TranslateAccelerator(const QKeyEvent& event);

    const DlgTemplate& m_template;
    QFont m_font;
    int m_baseUnitX = 0;
    int m_baseUnitY = 0;
    bool m_created = false;
    bool m_destroyed = false;
    int m_result = IDCANCEL;
    QEventLoop* m_modalLoop = nullptr;
    std::map<int, CWnd> m_items;
    CMenu m_systemMenu;
    std::vector<ACCEL> m_accelerators;
};

// What DoDataExchange is given; only control binding is used.
class CDataExchange {
public:
    explicit CDataExchange(CDialog* dlg) : m_pDlgWnd(dlg) {}
    CDialog* m_pDlgWnd;
};

// Binds a control member to the dialog's control with this id.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
