#include "commandstore.h"

#include "atomicfile.h"
#include "settingsstorage.h"
#include "storefile.h"

#include <algorithm>

CommandStore::CommandStore(SettingsStorage &storage, Loading loading, QObject *parent)
    : ListStore(storage, SettingsStorage::savedCommands, "CommandStore", QStringLiteral("Saved commands"), parent)
{
    prepareRead();
    if (loading == Loading::now) {
        QString why;
        std::optional<QByteArray> data = AtomicFile::read(fileName(), &why);
        take({std::move(data), why, std::nullopt});
        return;
    }
    // Decoding a large list is most of a start's work: the window is shown meanwhile.
    m_loading = std::async(std::launch::async, [this, path = fileName()] {
        Fetched fetched;
        fetched.data = AtomicFile::read(path, &fetched.readError);
        if (fetched.data) {
            fetched.decoded = decode(*fetched.data);
            fetched.data = QByteArray();
        }
        // Before the future is ready, so before waitUntilLoaded() can return in the destructor: a queued
        // call to an object that is gone is never made.
        QMetaObject::invokeMethod(this, &CommandStore::waitUntilLoaded, Qt::QueuedConnection);
        return fetched;
    });
}

CommandStore::~CommandStore()
{
    // The last change reaches the disk before the application ends, and its outcome the log.
    flush();
}

void CommandStore::waitUntilLoaded()
{
    if (m_loading.valid())
        take(m_loading.get());
}

void CommandStore::take(Fetched fetched)
{
    QList<SavedCommand> stored;
    if (const std::optional<QByteArray> data = completeRead(std::move(fetched.data), fetched.readError)) {
        // Read from the settings file of the first version, which only this thread may touch.
        const Decoded decoded = fetched.decoded ? std::move(*fetched.decoded) : decode(*data);
        if (!decoded.commands) {
            unreadable(decoded.error);
        } else {
            if (decoded.unknownKeys)
                keepNewerKeys();
            stored = std::move(*decoded.commands);
        }
    }
    const bool changedMeanwhile = !m_changesWhileLoading.isEmpty();
    for (const Change &change : std::exchange(m_changesWhileLoading, {}))
        change(stored);
    m_commands = std::move(stored);
    emit loaded();
    if (std::exchange(m_saveWhenLoaded, false))
        save();
    if (changedMeanwhile || !m_commands.isEmpty())
        emit changed();
}

CommandStore::Decoded CommandStore::decode(const QByteArray &data)
{
    Decoded decoded;
    decoded.commands = SavedCommand::decodeList(data, &decoded.error, &decoded.unknownKeys);
    return decoded;
}

void CommandStore::change(const Change &change)
{
    const bool changedSomething = change(m_commands);
    if (!isLoaded())
        m_changesWhileLoading.append(change);
    else if (!changedSomething)
        return;
    save();
    emit changed();
}

void CommandStore::add(const SavedCommand &command)
{
    change([command](QList<SavedCommand> &commands) {
        commands.prepend(command);
        return true;
    });
}

void CommandStore::update(const SavedCommand &command)
{
    change([command](QList<SavedCommand> &commands) {
        const auto found = std::ranges::find(commands, command.id, &SavedCommand::id);
        if (found == commands.end())
            return false;
        *found = command;
        return true;
    });
}

void CommandStore::remove(const QUuid &id)
{
    change([id](QList<SavedCommand> &commands) {
        commands.removeIf([&id](const SavedCommand &c) { return c.id == id; });
        return true;
    });
}

LibraryImport::Outcome CommandStore::import(const QList<SavedCommand> &incoming, LibraryImport::Conflict choice)
{
    waitUntilLoaded();
    LibraryImport::Outcome outcome = LibraryImport::merge(m_commands, incoming, choice);
    if (outcome.added == 0 && outcome.replaced == 0)
        return outcome;
    change([merged = outcome.commands](QList<SavedCommand> &commands) {
        commands = merged;
        return true;
    });
    return outcome;
}

void CommandStore::retrySave()
{
    save();
}

std::optional<QList<SavedCommand>> CommandStore::readOnly(const SettingsStorage &storage, QString *error)
{
    const QString path = storage.pathOf(SettingsStorage::savedCommands);
    QString why;
    bool legacy = false;
    const std::optional<QByteArray> data =
        storage.storedList(SettingsStorage::savedCommands, AtomicFile::read(path, &why), &why, &legacy);
    if (!data && why.isEmpty())
        return QList<SavedCommand>();
    std::optional<QList<SavedCommand>> commands = data ? SavedCommand::decodeList(*data, &why) : std::nullopt;
    if (!commands && error)
        *error = (legacy ? storage.fileName() : path) + QStringLiteral(": ") + why;
    return commands;
}

bool CommandStore::flush()
{
    waitUntilLoaded();
    return ListStore::flush();
}

QByteArray CommandStore::document() const
{
    return SavedCommand::encodeList(m_commands);
}

void CommandStore::save()
{
    // Writing before the stored list is in would replace it with only what was added since.
    if (!isLoaded()) {
        m_saveWhenLoaded = true;
        return;
    }
    // A copy of the list, cheap to take (its records share their text) and safe to encode on the
    // writer thread while this one goes on changing its own.
    file().write([commands = m_commands] { return SavedCommand::encodeList(commands); });
}
