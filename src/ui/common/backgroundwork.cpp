#include "backgroundwork.h"

#include <QProgressDialog>
#include <QTimer>

#include <future>

namespace BackgroundWork {

bool Progress::report(double fraction) const
{
    m_permille = int(std::clamp(fraction, 0.0, 1.0) * 1000);
    return !m_cancelled;
}

// Owned by the dialog: gone with it, after the work it waits for has stopped.
class Runner : public QObject
{
public:
    Runner(QProgressDialog *dialog, std::function<void(const Progress &)> work, std::function<void()> done)
        : QObject(dialog)
        , m_done(std::move(done))
    {
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, dialog, [this, dialog] { dialog->setValue(m_progress.m_permille); });
        poll->start(50);
        connect(dialog, &QProgressDialog::canceled, this, [this, dialog] {
            m_progress.m_cancelled = true;
            dialog->hide();
        });
        m_work = std::async(std::launch::async, [this, work = std::move(work)] {
            work(m_progress);
            QMetaObject::invokeMethod(this, &Runner::finish, Qt::QueuedConnection);
        });
    }
    ~Runner() override
    {
        m_progress.m_cancelled = true;
        if (m_work.valid())
            m_work.wait();
    }

private:
    void finish()
    {
        m_work.get();
        auto *dialog = static_cast<QProgressDialog *>(parent());
        const bool cancelled = m_progress.m_cancelled;
        const std::function<void()> done = std::move(m_done);
        dialog->deleteLater();
        dialog->hide();
        if (!cancelled)
            done();
    }

    Progress m_progress;
    std::function<void()> m_done;
    std::future<void> m_work;
};

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
    new Runner(dialog, std::move(work), std::move(done));
}

} // namespace BackgroundWork
