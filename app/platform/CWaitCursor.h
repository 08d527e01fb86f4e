#pragma once

#include <QGuiApplication>

// The busy cursor for as long as it lives, as MFC's CWaitCursor; Qt::BusyCursor for
// work that goes on while the window still answers.
class CWaitCursor {
public:
    explicit CWaitCursor(Qt::CursorShape shape = Qt::WaitCursor) { QGuiApplication::setOverrideCursor(shape); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
