#pragma once

#include "platform/CDialog.h"
#include "platform/CModalHost.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// A modal host that answers from a script and records what it was asked, so that
// tests drive the dialog without a window ever waiting for a user. Installed for
// its lifetime.
class CScriptedHost : public CModalHost {
public:
    struct MessageBoxCall {
        std::string text, caption;
        UINT type;
        bool ownerVisible;
    };
    struct FileDialogCall {
        bool open;
        std::string title, initialDir;
        DWORD flags;
        QStringList filters;
        std::string defExt;
    };
    struct FileAnswer {
        INT_PTR result;
        std::string path;
    };
    struct SpawnCall {
        QString program;
        QStringList arguments;
        bool ownerVisible;
    };

    CScriptedHost() { m_previous = CModalHost::Install(this); }
    ~CScriptedHost() override { CModalHost::Install(m_previous); }

    std::deque<int> messageAnswers;  // IDCANCEL once they run out
    std::deque<FileAnswer> fileAnswers;  // cancelled once they run out
    // Runs inside RunDialog with the dialog created; returns its result.
    std::function<INT_PTR(CDialog&)> onDialog = [](CDialog&) -> INT_PTR { return IDOK; };
    // Runs first in every modal operation, as the window would appear.
    std::function<void()> duringModal = [] {};

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<FileDialogCall> fileDialogs;
    std::vector<int> dialogs;
    std::vector<SpawnCall> spawns;
    QWidget* watched = nullptr;

    int DoMessageBox(QWidget* owner, const char* text, const char* caption, UINT type) override
    {
        duringModal();
        messageBoxes.push_back({text, caption ? caption : "", type, owner && owner->isVisible()});
        return next(messageAnswers, IDCANCEL);
    }

    INT_PTR DoFileDialog(bool open, OPENFILENAME& ofn) override
    {
        duringModal();
        fileDialogs.push_back({open, ofn.lpstrTitle ? ofn.lpstrTitle : "",
                               ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "", ofn.Flags,
                               ParseFilterString(ofn.lpstrFilter), ofn.lpstrDefExt ? ofn.lpstrDefExt : ""});
        const FileAnswer answer = next(fileAnswers, FileAnswer{IDCANCEL, ""});
        if (answer.result == IDOK)
            StorePathName(ofn, answer.path);
        return answer.result;
    }

    INT_PTR DoDialog(CModalWindow& window) override
    {
        duringModal();
        auto& dialog = dynamic_cast<CDialog&>(window);
        dialogs.push_back(dialog.GetTemplate().id);
        dialog.Create();
        return onDialog(dialog);
    }

    // Real processes: the fake editors of the tests end at once.
    int DoSpawnAndWait(const QString& program, const QStringList& arguments) override
    {
        spawns.push_back({program, arguments, watched && watched->isVisible()});
        return m_qtHost.SpawnAndWait(program, arguments);
    }

    // Answers printAnswers in turn (IDCANCEL once they run out); an IDOK prints to
    // the PDF file printFile.
    INT_PTR DoPrintDialog(QWidget*, const std::function<void(QPrinter&)>& paint) override
    {
        duringModal();
        ++printDialogs;
        const int answer = next(printAnswers, static_cast<int>(IDCANCEL));
        if (answer == IDOK) {
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printFile);
            paint(printer);
        }
        return answer;
    }
    std::deque<int> printAnswers;
    QString printFile;
    int printDialogs = 0;

    // Jobs wait here until the test finishes them, so that it decides what happens
    // while they run.
    void DoStartJob(CBackgroundJob& job, QObject* context, BackgroundWork work) override
    {
        pendingJobs.push_back({context, job.GetStopSource(), std::move(work)});
    }

    // Runs the oldest pending job here and delivers its result as its thread would,
    // then lets the event loop run it. With heedStop false the work runs to its end
    // even when cancelled: its result was on its way when the cancel came.
    void FinishJob(bool heedStop = true)
    {
        ASSERT_FALSE(pendingJobs.empty());
        PendingJob job = std::move(pendingJobs.front());
        pendingJobs.pop_front();
        const std::stop_source running = heedStop ? job.stop : std::stop_source();
        if (std::function<void()> done = job.work(running.get_token()))
            CBackgroundJob::Deliver(job.context, job.stop, std::move(done));
        QCoreApplication::sendPostedEvents();
    }

    struct PendingJob {
        QObject* context;
        std::stop_source stop;
        BackgroundWork work;
    };
    std::deque<PendingJob> pendingJobs;

private:
    template <typename T>
    static T next(std::deque<T>& answers, T otherwise)
    {
        if (answers.empty())
            return otherwise;
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    CModalHost* m_previous = nullptr;
    CQtModalHost m_qtHost;
};
