#include "storefile.h"

#include "atomicfile.h"
#include "storelog.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {
const QString copyTag = QStringLiteral("unreadable");
}

StoreFile::StoreFile(SettingsStorage &settings, const SettingsStorage::List &list, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_list(list)
    , m_path(settings.pathOf(list))
{
}

StoreFile::~StoreFile()
{
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void StoreFile::prepareRead()
{
    m_settings.migrateLegacyLists();
}

std::optional<QByteArray> StoreFile::completeRead(std::optional<QByteArray> data, QString why, QString *error)
{
    const bool unreadable = !data && !why.isEmpty();
    // No file yet: the list is still in the settings file if moving it out failed.
    data = m_settings.storedList(m_list, std::move(data), &why, &m_readLegacy);
    if (const auto unmovable = m_settings.unmovable(m_list); unmovable && !unreadable) {
        why = unmovable->reason;
        m_copyFileName = unmovable->copy;
    }
    m_supersededFileName = m_settings.superseded(m_list);
    if (error)
        *error = why;
    // A read that failed (a bad sector, a file only its owner's group may read) is no empty list: the
    // file is not replaced before a copy of it exists.
    if (unreadable)
        keepCopy();
    return data;
}

void StoreFile::keepCopy()
{
    // Read from the settings file: the settings file itself is copied before that value is removed.
    if (m_readLegacy)
        return;
    QString error;
    const QString copy = AtomicFile::copyAside(m_path, copyTag, &error);
    const std::lock_guard lock(m_mutex);
    if (!copy.isEmpty()) {
        m_copyFileName = copy;
        return;
    }
    m_copyPending = true;
    qCWarning(lcStore).noquote() << "could not copy" << m_path << "aside:" << error
                                 << "- it is not replaced until a copy is made";
}

QString StoreFile::copyFileName() const
{
    const std::lock_guard lock(m_mutex);
    return m_copyFileName;
}

void StoreFile::write(std::function<QByteArray()> encode)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending = std::move(encode);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void StoreFile::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stopping; });
        if (!m_pending)
            return;
        const std::function<QByteArray()> encode = std::exchange(m_pending, nullptr);
        const bool copyFirst = m_copyPending;
        m_busy = true;
        lock.unlock();

        Outcome outcome;
        QString copy;
        // Gone since it could not be read: nothing is left to keep.
        if (copyFirst && !QFileInfo(m_path).exists() && !QFileInfo(m_path).isSymLink()) {
            lock.lock();
            m_copyPending = false;
            lock.unlock();
        } else if (copyFirst) {
            QString error;
            copy = AtomicFile::copyAside(m_path, copyTag, &error);
            if (copy.isEmpty())
                outcome.error = QStringLiteral("the unreadable file could not be copied aside first: ") + error;
        }
        // The settings folder may not exist yet on a first start.
        if (outcome.error.isEmpty() && !QDir().mkpath(QFileInfo(m_path).absolutePath()))
            outcome.error = AtomicFile::reason({}, errno);
        if (outcome.error.isEmpty())
            AtomicFile::write(m_path, encode(), &outcome.error);

        lock.lock();
        if (!copy.isEmpty()) {
            m_copyPending = false;
            m_copyFileName = copy;
        }
        m_outcome = outcome;
        m_busy = false;
        m_idle.notify_all();
        QMetaObject::invokeMethod(this, &StoreFile::deliver, Qt::QueuedConnection);
    }
}

bool StoreFile::flush()
{
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
    }
    deliver();
    return m_writeError.isEmpty();
}

void StoreFile::deliver()
{
    std::optional<Outcome> outcome;
    {
        const std::lock_guard lock(m_mutex);
        outcome = std::exchange(m_outcome, std::nullopt);
    }
    if (!outcome)
        return;
    m_writeError = outcome->error;
    if (!m_writeError.isEmpty()) {
        emit writeFailed(m_path, m_writeError);
        return;
    }
    if (m_readLegacy) {
        // The file now holds everything the settings file held, and what changed since.
        m_readLegacy = false;
        m_settings.migrateLegacyLists(&m_list);
    }
    emit written();
}
