#pragma once

#include "settingsstorage.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// One list of the user's, in its own file beside the settings file. Read once; every change written
// on a thread of its own, in order, only the newest of a burst, each write complete or not at all.
// What could not be read is copied aside before any write would replace it. Every failed write is
// reported, and the next write (or flush after a retry) tries again. Destruction waits for the
// last write.
class StoreFile : public QObject
{
    Q_OBJECT

public:
    StoreFile(SettingsStorage &settings, const SettingsStorage::List &list, QObject *parent = nullptr);
    ~StoreFile() override;

    QString path() const { return m_path; }

    // Reading the stored document takes three steps, so that the file itself may be read on another
    // thread: prepareRead() moves a list still inside the settings file of the first version out; then
    // AtomicFile::read(path()), anywhere; then completeRead() with what that returned gives the document:
    // nullopt when there is none yet or, with error set, when it cannot be read.
    void prepareRead();
    std::optional<QByteArray> completeRead(std::optional<QByteArray> data, QString why, QString *error);
    // What read() returned cannot be written back as it is (it did not decode, or holds what this
    // version would drop): it is copied aside now, or, if that fails, before the first write, and no
    // write replaces the file until the copy exists.
    void keepCopy();
    // Where that copy is; empty while there is none.
    QString copyFileName() const;
    // Where the first version's list went because this file held another one; empty when it did not.
    QString supersededFileName() const { return m_supersededFileName; }

    // Queues a write of what encode returns; encode runs on the writer thread. A write queued before
    // this one and not yet started is dropped: this one holds everything it held.
    void write(std::function<QByteArray()> encode);
    // Waits until the queued writes are done and reports their outcome; true when everything written
    // so far is on disk.
    bool flush();
    // Why the last write failed; empty once one succeeds.
    QString writeError() const { return m_writeError; }

signals:
    void written();
    void writeFailed(const QString &path, const QString &reason);

private:
    struct Outcome {
        QString error;
    };

    void run();
    void deliver();

    SettingsStorage &m_settings;
    const SettingsStorage::List m_list;
    const QString m_path;
    // Read from the settings file because moving it out failed: moved as soon as a write succeeds.
    bool m_readLegacy = false;
    QString m_supersededFileName;
    QString m_writeError;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::function<QByteArray()> m_pending;
    bool m_busy = false;
    bool m_stopping = false;
    std::optional<Outcome> m_outcome;
    bool m_copyPending = false;
    QString m_copyFileName;
    std::thread m_thread;
};
