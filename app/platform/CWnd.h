#pragma once

#include "WinDefs.h"

class QWidget;

// A control of a dialog, addressed like a Win32 window handle: a thin view of the
// widget that the dialog created for it. Copies refer to the same widget.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(QWidget* widget) : m_hWnd(widget) {}

    QWidget* GetSafeHwnd() const { return m_hWnd; }
    void Attach(QWidget* widget) { m_hWnd = widget; }

    // Returns whether the window was disabled before, as Windows does.
    BOOL EnableWindow(BOOL enable = true);
    BOOL IsWindowEnabled() const;
    void SetFocus();
    // Returns whether the window was visible before.
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    void UpdateWindow();
    void SetWindowText(const char* text);
    // Copies at most maxCount - 1 characters and a terminator; returns the count copied.
    int GetWindowText(char* buffer, int maxCount) const;

private:
    QWidget* m_hWnd = nullptr;
};

class CButton : public CWnd {};
class CEdit : public CWnd {};
