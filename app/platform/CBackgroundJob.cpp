#include "CBackgroundJob.h"

#include <QMetaObject>

CBackgroundJob::~CBackgroundJob()
{
    Cancel();
    if (m_thread.joinable())
        m_thread.join();
}

void CBackgroundJob::StartThread(QObject* context, BackgroundWork work)
{
    // The job lives no longer than context, so the thread may hold it plainly.
    m_thread = std::thread([context, stop = m_stop, work = std::move(work)] {
        if (std::function<void()> done = work(stop.get_token()))
            Deliver(context, stop, std::move(done));
    });
}

void CBackgroundJob::Deliver(QObject* context, std::stop_source stop, std::function<void()> done)
{
    if (!context)
        return;
    // An event of context: dropped with it when the window is deleted first.
    QMetaObject::invokeMethod(
        context,
        [stop = std::move(stop), done = std::move(done)] {
            if (!stop.stop_requested())
                done();
        },
        Qt::QueuedConnection);
}
