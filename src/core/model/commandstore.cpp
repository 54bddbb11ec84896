#include "commandstore.h"

#include "settingsstorage.h"
#include "storefile.h"

CommandStore::CommandStore(SettingsStorage &storage, QObject *parent)
    : ListStore(storage, SettingsStorage::savedCommands, "CommandStore", parent)
{
    load();
}

CommandStore::~CommandStore()
{
    // The last change reaches the disk before the application ends, and its outcome the log.
    flush();
}

void CommandStore::add(const SavedCommand &command)
{
    m_commands.prepend(command);
    save();
    emit changed();
}

void CommandStore::update(const SavedCommand &command)
{
    for (SavedCommand &existing : m_commands) {
        if (existing.id == command.id) {
            existing = command;
            save();
            emit changed();
            return;
        }
    }
}

void CommandStore::remove(const QUuid &id)
{
    m_commands.removeIf([&id](const SavedCommand &c) { return c.id == id; });
    save();
    emit changed();
}

void CommandStore::retrySave()
{
    save();
}

void CommandStore::load()
{
    const std::optional<QByteArray> data = read();
    if (!data)
        return;
    QString error;
    bool unknownKeys = false;
    auto decoded = SavedCommand::decodeList(*data, &error, &unknownKeys);
    if (!decoded) {
        unreadable(error);
        return;
    }
    if (unknownKeys)
        keepCopy(QStringLiteral("holds keys this version does not know and would drop"));
    m_commands = std::move(*decoded);
}

void CommandStore::save()
{
    // A copy of the list, cheap to take (its records share their text) and safe to encode on the
    // writer thread while this one goes on changing its own.
    file().write([commands = m_commands] { return SavedCommand::encodeList(commands); });
}
