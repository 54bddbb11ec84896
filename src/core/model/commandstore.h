#pragma once

#include "liststore.h"
#include "savedcommand.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

// The saved commands, newest first, in the order they were added (never sorted). Loaded once on
// creation; every change is written to the saved-commands file at once, off the UI thread.
class CommandStore : public ListStore
{
    Q_OBJECT

public:
    explicit CommandStore(SettingsStorage &storage, QObject *parent = nullptr);
    ~CommandStore() override;

    const QList<SavedCommand> &commands() const { return m_commands; }

    void add(const SavedCommand &command);
    // Replaces the first entry with the same id in place; an unknown id changes and writes nothing.
    void update(const SavedCommand &command);
    // Removes every entry with the id, and writes even when none matched.
    void remove(const QUuid &id);

    void retrySave() override;

signals:
    void changed();

private:
    void load();
    void save();

    QList<SavedCommand> m_commands;
};
