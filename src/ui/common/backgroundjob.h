#pragma once

#include "backgroundwork.h"

#include <QObject>

#include <future>
#include <memory>

// Work on a thread of its own for an owner on the UI thread: the work hands over what it has with
// Progress::post() while it runs, and finished() follows on the UI thread once it returns, cancelled
// or not. Cancelling never waits: a read blocked on a slow disk must not freeze the window.
class BackgroundJob : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundJob(std::function<void(const BackgroundWork::Progress &)> work, QObject *parent = nullptr);
    // Cancels, and gives the work a moment to stop, so that it rarely outlives the application; work
    // blocked for longer is left to end by itself, reaching no one.
    ~BackgroundJob() override;

    void cancel() { m_progress->m_cancelled = true; }
    bool isCancelled() const { return m_progress->m_cancelled; }
    bool isRunning() const { return m_running; }
    // The fraction the work last reported, in thousandths.
    int permille() const { return m_progress->m_permille; }

signals:
    void finished();

private:
    std::shared_ptr<BackgroundWork::Progress> m_progress;
    std::future<void> m_stopped;
    bool m_running = true;
};
