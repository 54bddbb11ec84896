#pragma once

#include "libraryimport.h"
#include "liststore.h"
#include "savedcommand.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <future>

// The saved commands, newest first, in the order they were added (never sorted). Loaded once, on
// creation or, for a start that must not wait for a large list, on a thread of its own; every change
// is written to the saved-commands file at once, off the UI thread.
class CommandStore : public ListStore
{
    Q_OBJECT

public:
    enum class Loading { now, inBackground };

    explicit CommandStore(SettingsStorage &storage, Loading loading = Loading::now, QObject *parent = nullptr);
    ~CommandStore() override;

    // While a load in the background runs: only what was added since. Changes made meanwhile are made
    // again on the stored list once it is in, and nothing is written before, so none of it is lost.
    const QList<SavedCommand> &commands() const { return m_commands; }
    bool isLoaded() const { return !m_loading.valid(); }
    // Takes the stored list in now, waiting for its load to finish if it is still running.
    void waitUntilLoaded();

    void add(const SavedCommand &command);
    // Replaces the first entry with the same id in place; an unknown id changes and writes nothing.
    void update(const SavedCommand &command);
    // Removes every entry with the id, and writes even when none matched.
    void remove(const QUuid &id);
    // Merges incoming (an imported file) into the whole stored list, waiting for it to be loaded: one
    // change, one write. choice settles the incoming commands whose ids are the user's with other content.
    LibraryImport::Outcome import(const QList<SavedCommand> &incoming, LibraryImport::Conflict choice);

    void retrySave() override;
    bool flush() override;
    QByteArray document() const override;

    // The stored list as a reader that must not change anything sees it (the command line): from the
    // list's own file or, before the first version's settings were moved, from the settings file. Nothing
    // is moved, copied or written. nullopt with error set when it cannot be read; empty when there is none.
    static std::optional<QList<SavedCommand>> readOnly(const SettingsStorage &storage, QString *error);

signals:
    void changed();

private:
    struct Decoded {
        std::optional<QList<SavedCommand>> commands;
        QString error;
        bool unknownKeys = false;
    };
    struct Fetched {
        std::optional<QByteArray> data; // emptied once decoded: no second copy of the file stays
        QString readError;
        std::optional<Decoded> decoded;
    };
    using Change = std::function<bool(QList<SavedCommand> &)>;

    static Decoded decode(const QByteArray &data);
    void take(Fetched fetched);
    // Applies the change to the list; true when it changed something worth writing.
    void change(const Change &change);
    void save();

    QList<SavedCommand> m_commands;
    std::future<Fetched> m_loading;
    QList<Change> m_changesWhileLoading;
    bool m_saveWhenLoaded = false;
};
