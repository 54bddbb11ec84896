#pragma once

#include "settingsstorage.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class StoreFile;

// What the stores of the user's lists share: their file, what could not be read at start, where a
// copy of it went, and how a failed write is logged and reported.
class ListStore : public QObject
{
    Q_OBJECT

public:
    // The list as a sentence starts with it: "Saved commands", "Custom interfaces".
    QString displayName() const { return m_displayName; }
    QString fileName() const;
    // Why the stored list could not be read; empty when it could (or there was none).
    QString loadError() const { return m_loadError; }
    // Where what could not be read (or would have been dropped) was copied; empty when nothing was.
    QString backupFileName() const;
    // Whether the stored list holds what a newer version wrote and this one drops when it next writes
    // the list (copied to backupFileName() first).
    bool dropsNewerKeys() const { return m_dropsNewerKeys; }
    // Where the first version's list went because the list's own file held another one; empty if not.
    QString supersededFileName() const;
    // Why the last write failed; empty once one succeeds. The list in memory keeps every change.
    QString saveError() const;
    // Writes the list again, after a failure; saved() or saveFailed() follows.
    virtual void retrySave() = 0;
    // Waits until every change so far is written; true when it is on disk.
    virtual bool flush();
    // The whole list as its file would hold it.
    virtual QByteArray document() const = 0;
    // Writes document() to a new file beside the list (or, failing that, in the temporary folder), for
    // when the application must end with a change that could not be written. The new file's path, or
    // empty with error set when no file could be written at all.
    QString rescue(QString *error);

signals:
    // The stored list has been read, or found unreadable (loadError() tells).
    void loaded();
    void saveFailed(const QString &fileName, const QString &reason);
    // Every change so far is on disk.
    void saved();

protected:
    // name prefixes the log lines: "<name> load error: …", "<name> save error: …".
    ListStore(SettingsStorage &storage, const SettingsStorage::List &list, const char *name, const QString &displayName,
              QObject *parent);

    // The stored document; nullopt when there is none, or when it cannot be read (then logged).
    std::optional<QByteArray> read();
    // read() in three steps, for a list read on another thread: prepareRead() here, then
    // AtomicFile::read(fileName()) there, then completeRead() here with what that returned.
    void prepareRead();
    std::optional<QByteArray> completeRead(std::optional<QByteArray> data, const QString &why);
    // What read() returned cannot be used: logged, and copied aside before anything replaces it.
    void unreadable(const QString &error);
    // What read() returned holds a newer version's keys, which writing it back would lose: copied aside
    // first.
    void keepNewerKeys();

    StoreFile &file() const { return *m_file; }

private:
    const char *m_name;
    const QString m_displayName;
    StoreFile *m_file;
    QString m_loadError;
    bool m_dropsNewerKeys = false;
};
