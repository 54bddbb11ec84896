#pragma once

#include "savedcommand.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

class SettingsStorage;

// The saved commands, newest first, in the order they were added (never sorted). Loaded once on
// creation; every change rewrites the whole list under the storage key at once.
class CommandStore : public QObject
{
    Q_OBJECT

public:
    static constexpr auto defaultKey = "BrindlecapBuilder.SavedCommands.v1";

    CommandStore(SettingsStorage &storage, const QString &storageKey, QObject *parent = nullptr);

    const QList<SavedCommand> &commands() const { return m_commands; }
    QString storageKey() const { return m_key; }
    // The settings the list lives in; the application's other persistent list shares them.
    SettingsStorage &storage() const { return m_storage; }

    void add(const SavedCommand &command);
    // Replaces the first entry with the same id in place; an unknown id changes and writes nothing.
    void update(const SavedCommand &command);
    // Removes every entry with the id, and writes even when none matched.
    void remove(const QUuid &id);

    // Where the unreadable stored value was copied before it was overwritten, if it was.
    QString backupFileName() const { return m_backupFileName; }

signals:
    void changed();

private:
    void load();
    void save();
    bool backUpUnreadable();

    SettingsStorage &m_storage;
    QString m_key;
    QList<SavedCommand> m_commands;
    // A stored value that could not be read; kept until it is safely copied aside.
    QByteArray m_unreadable;
    bool m_needsBackup = false;
    QString m_backupFileName;
};
