#pragma once

#include "WinDefs.h"

#include <QString>
#include <QStringList>

class CDialog;
class CFileDialog;
class QWidget;

// Everything that waits on the user or on another program goes through here: message
// boxes, file dialogs, modal dialogs and spawned programs. The program uses the Qt
// host; tests install a host that answers from a script and never blocks.
class CModalHost {
public:
    virtual ~CModalHost() = default;

    // Returns the answer (IDOK, IDCANCEL, IDYES, IDNO) for the MB_ type bits.
    virtual int MessageBox(QWidget* owner, const char* text, const char* caption, UINT type) = 0;
    // Returns IDOK with the chosen path stored in the dialog, or IDCANCEL.
    virtual INT_PTR RunFileDialog(CFileDialog& dialog) = 0;
    // Runs a dialog modally; returns its EndDialog result.
    virtual INT_PTR RunDialog(CDialog& dialog) = 0;
    // Runs program with arguments in the current directory and waits until it ends;
    // returns its exit code, or -1 when it could not be started.
    virtual int SpawnAndWait(const QString& program, const QStringList& arguments) = 0;

    // The host in force; the Qt host unless another one has been installed.
    static CModalHost& Get();
    // Installs host (null: the Qt host again); returns the one it replaces.
    static CModalHost* Install(CModalHost* host);
};

// The real thing: Qt message boxes and file dialogs, nested event loops, QProcess.
class CQtModalHost : public CModalHost {
public:
    int MessageBox(QWidget* owner, const char* text, const char* caption, UINT type) override;
    INT_PTR RunFileDialog(CFileDialog& dialog) override;
    INT_PTR RunDialog(CDialog& dialog) override;
    int SpawnAndWait(const QString& program, const QStringList& arguments) override;
};
