#pragma once

#include <QString>

#include <atomic>
#include <functional>

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

private:
    friend class Runner;
    mutable std::atomic<int> m_permille = 0;
    std::atomic_bool m_cancelled = false;
};

// Runs work on a thread of its own, then done on the UI thread unless it was cancelled or parent has
// gone. work must not touch widgets or the stores; done may.
void run(QWidget *parent, const QString &label, std::function<void(const Progress &)> work, std::function<void()> done);

} // namespace BackgroundWork
