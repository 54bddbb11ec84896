#include "backgroundjob.h"

#include <thread>

BackgroundJob::BackgroundJob(std::function<void(const BackgroundWork::Progress &)> work, QObject *parent)
    : QObject(parent)
    , m_progress(std::make_shared<BackgroundWork::Progress>())
{
    m_progress->m_receiver = this;
    std::promise<void> stopped;
    m_stopped = stopped.get_future();
    // Detached: the thread owns what it uses, and this object may go before it ends.
    std::thread([this, progress = m_progress, work = std::move(work), stopped = std::move(stopped)]() mutable {
        work(*progress);
        {
            const std::lock_guard lock(progress->m_lock);
            if (progress->m_receiver)
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        m_running = false;
                        emit finished();
                    },
                    Qt::QueuedConnection);
        }
        stopped.set_value();
    }).detach();
}

BackgroundJob::~BackgroundJob()
{
    {
        const std::lock_guard lock(m_progress->m_lock);
        m_progress->m_receiver = nullptr;
    }
    cancel();
    m_stopped.wait_for(std::chrono::seconds(2));
}
