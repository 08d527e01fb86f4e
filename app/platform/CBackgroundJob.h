#pragma once

#include <QObject>

#include <functional>
#include <stop_token>
#include <thread>

// Work for a thread of its own: it runs there, stops early when asked, and returns
// what is to run on the user-interface thread once it is done (or nothing).
using BackgroundWork = std::function<std::function<void()>(std::stop_token)>;

// One piece of work started by the modal host. Cancelled, its result is never
// delivered, even when it is already on its way; destroyed, it is cancelled and
// its thread waited for, so nothing outlives the window that started it.
class CBackgroundJob {
public:
    CBackgroundJob() = default;
    ~CBackgroundJob();
    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    void Cancel() { m_stop.request_stop(); }
    std::stop_source GetStopSource() const { return m_stop; }

    // Runs work on a new thread of this job.
    void StartThread(QObject* context, BackgroundWork work);
    // Hands done to context's thread as an event, to run there unless stop was
    // requested by then or context is gone.
    static void Deliver(QObject* context, std::stop_source stop, std::function<void()> done);

private:
    std::stop_source m_stop;
    std::thread m_thread;
};
