#include "backgroundwork.h"

#include "backgroundjob.h"

#include <QProgressDialog>
#include <QTimer>

namespace BackgroundWork {

bool Progress::report(double fraction) const
{
    m_permille = int(std::clamp(fraction, 0.0, 1.0) * 1000);
    return !m_cancelled;
}

void Progress::post(std::function<void()> f) const
{
    const std::lock_guard lock(m_lock);
    if (!m_receiver || m_cancelled)
        return;
    // Checked again on arrival: a cancel may come between.
    QMetaObject::invokeMethod(
        m_receiver,
        [this, f = std::move(f)] {
            if (!m_cancelled)
                f();
        },
        Qt::QueuedConnection);
}

void run(QWidget *parent, const QString &label, std::function<void(const Progress &)> work, std::function<void()> done)
{
    auto *dialog = new QProgressDialog(label, QStringLiteral("Cancel"), 0, 1000, parent);
    dialog->setObjectName(QStringLiteral("workProgress"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    // Quick work shows no dialog at all.
    dialog->setMinimumDuration(500);
    dialog->setValue(0);
    // Owned by the dialog: gone with it.
    auto *job = new BackgroundJob(std::move(work), dialog);
    auto *poll = new QTimer(job);
    QObject::connect(poll, &QTimer::timeout, dialog, [job, dialog] { dialog->setValue(job->permille()); });
    poll->start(50);
    QObject::connect(dialog, &QProgressDialog::canceled, job, [job, dialog] {
        job->cancel();
        dialog->hide();
    });
    QObject::connect(job, &BackgroundJob::finished, dialog, [job, dialog, done = std::move(done)] {
        dialog->deleteLater();
        dialog->hide();
        if (!job->isCancelled())
            done();
    });
}

} // namespace BackgroundWork
