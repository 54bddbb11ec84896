#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class BackgroundJob;
class QObject;
class QWidget;

// Long work (reading a large file) off the UI thread, behind a window-modal progress dialog with
// Cancel that shows only when the work takes a while: the window never freezes, and the work's
// result reaches the UI thread only when it was not cancelled.
namespace BackgroundWork {

// What the work tells and hears while it runs, from its own thread.
class Progress
{
public:
    // How far the work is, from 0 to 1; false once the user cancelled, and the work should stop.
    bool report(double fraction) const;
    // Set once the user cancelled: for work that checks it between its own steps.
    const std::atomic_bool &cancelled() const { return m_cancelled; }
    // Runs f on the UI thread, in the order posted, unless the work is cancelled or its job gone by
    // then: what the work hands over while it runs.
    void post(std::function<void()> f) const;

private:
    friend class ::BackgroundJob;
    mutable std::atomic<int> m_permille = 0;
    std::atomic_bool m_cancelled = false;
    mutable std::mutex m_lock; // guards m_receiver, which the job clears as it goes
    QObject *m_receiver = nullptr;
};

// Runs work on a thread of its own, then done on the UI thread unless it was cancelled or parent has
// gone. work must not touch widgets or the stores; done may.
void run(QWidget *parent, const QString &label, std::function<void(const Progress &)> work, std::function<void()> done);

} // namespace BackgroundWork
