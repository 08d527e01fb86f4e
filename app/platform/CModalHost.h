#pragma once

#include "CBackgroundJob.h"
#include "WinDefs.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QPrinter;
class QWidget;

// A window that the host runs modally; dialogs from templates are such windows.
class CModalWindow {
public:
    // Shows the window and returns its result when it ends or is destroyed.
    virtual INT_PTR RunModalLoop() = 0;

protected:
    ~CModalWindow() = default;
};

// Everything that waits on the user, on another program or on another thread goes
// through here: message boxes, file and print dialogs, modal dialogs, spawned programs
// and background jobs. The program uses the Qt host; tests install a host that answers
// from a script and never blocks. The seam sits below the dialog classes: it knows
// only the settings and windows given to it.
//
// When a modal window is over, the window that was active before it (or else the
// owner given) is activated again and its focus control gets the focus back: some
// window managers leave the window under a closed dialog inactive, and keys typed
// then go nowhere.
class CModalHost {
public:
    virtual ~CModalHost() = default;

    // Returns the answer (IDOK, IDCANCEL, IDYES, IDNO) for the MB_ type bits.
    int MessageBox(QWidget* owner, const char* text, const char* caption, UINT type);
    // Runs the open (open true) or save dialog that ofn describes; returns IDOK with
    // the chosen path stored in ofn.lpstrFile, or IDCANCEL.
    INT_PTR RunFileDialog(bool open, OPENFILENAME& ofn);
    // Runs a window modally; returns its result.
    INT_PTR RunDialog(CModalWindow& dialog);
    // Runs program with arguments in the current directory and waits until it ends;
    // returns its exit code, or -1 when it could not be started.
    int SpawnAndWait(const QString& program, const QStringList& arguments);
    // Runs the print dialog with a preview of what paint draws on the printer; returns
    // IDOK when it was printed, IDCANCEL otherwise.
    INT_PTR RunPrintDialog(QWidget* owner, const std::function<void(QPrinter&)>& paint);
    // Starts work off the user-interface thread and returns at once; its result runs
    // as an event of context. The job belongs to the caller, who must keep it no longer
    // than context.
    std::unique_ptr<CBackgroundJob> StartJob(QObject* context, BackgroundWork work);

    // The host in force; the Qt host unless another one has been installed.
    static CModalHost& Get();
    // Installs host (null: the Qt host again); returns the one it replaces.
    static CModalHost* Install(CModalHost* host);

protected:
    // What a host does for each of the above, focus aside.
    virtual int DoMessageBox(QWidget* owner, const char* text, const char* caption, UINT type) = 0;
    virtual INT_PTR DoFileDialog(bool open, OPENFILENAME& ofn) = 0;
    virtual INT_PTR DoDialog(CModalWindow& dialog) = 0;
    virtual int DoSpawnAndWait(const QString& program, const QStringList& arguments) = 0;
    virtual void DoStartJob(CBackgroundJob& job, QObject* context, BackgroundWork work) = 0;
    virtual INT_PTR DoPrintDialog(QWidget* owner, const std::function<void(QPrinter&)>& paint) = 0;
};

// The real thing: Qt message boxes and file dialogs, nested event loops, QProcess.
class CQtModalHost : public CModalHost {
protected:
    int DoMessageBox(QWidget* owner, const char* text, const char* caption, UINT type) override;
    INT_PTR DoFileDialog(bool open, OPENFILENAME& ofn) override;
    INT_PTR DoDialog(CModalWindow& dialog) override;
    int DoSpawnAndWait(const QString& program, const QStringList& arguments) override;
    void DoStartJob(CBackgroundJob& job, QObject* context, BackgroundWork work) override;
    INT_PTR DoPrintDialog(QWidget* owner, const std::function<void(QPrinter&)>& paint) override;
};

// Splits a Windows filter string into Qt name filters: "Text Files (*.txt)|*.txt|"
// gives "Text Files (*.txt) (*.txt)", shown with its label only. The pattern *.*
// stands for every file, as it does on Windows.
QStringList ParseFilterString(const char* filter);

// Stores path as a file dialog's answer in ofn.lpstrFile, cut to its buffer.
void StorePathName(OPENFILENAME& ofn, const std::string& path);
