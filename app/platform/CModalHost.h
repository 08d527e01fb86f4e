#pragma once

#include "WinDefs.h"

#include <QString>
#include <QStringList>

#include <string>

class QWidget;

// A window that the host runs modally; dialogs from templates are such windows.
class CModalWindow {
public:
    // Shows the window and returns its result when it ends or is destroyed.
    virtual INT_PTR RunModalLoop() = 0;

protected:
    ~CModalWindow() = default;
};

// Everything that waits on the user or on another program goes through here: message
// boxes, file dialogs, modal dialogs and spawned programs. The program uses the Qt
// host; tests install a host that answers from a script and never blocks. The seam
// sits below the dialog classes: it knows only the settings and windows given to it.
class CModalHost {
public:
    virtual ~CModalHost() = default;

    // Returns the answer (IDOK, IDCANCEL, IDYES, IDNO) for the MB_ type bits.
    virtual int MessageBox(QWidget* owner, const char* text, const char* caption, UINT type) = 0;
    // Runs the open (open true) or save dialog that ofn describes; returns IDOK with
    // the chosen path stored in ofn.lpstrFile, or IDCANCEL.
    virtual INT_PTR RunFileDialog(bool open, OPENFILENAME& ofn) = 0;
    // Runs a window modally; returns its result.
    virtual INT_PTR RunDialog(CModalWindow& dialog) = 0;
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
    INT_PTR RunFileDialog(bool open, OPENFILENAME& ofn) override;
    INT_PTR RunDialog(CModalWindow& dialog) override;
    int SpawnAndWait(const QString& program, const QStringList& arguments) override;
};

// Splits a Windows filter string into Qt name filters: "Text Files (*.txt)|*.txt|"
// gives "Text Files (*.txt) (*.txt)", shown with its label only. The pattern *.*
// stands for every file, as it does on Windows.
QStringList ParseFilterString(const char* filter);

// Stores path as a file dialog's answer in ofn.lpstrFile, cut to its buffer.
void StorePathName(OPENFILENAME& ofn, const std::string& path);
