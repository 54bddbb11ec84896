#include "commandstore.h"

#include "settingsstorage.h"
#include "storefile.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcStore, "brindlecap.store")

CommandStore::CommandStore(SettingsStorage &storage, QObject *parent)
    : QObject(parent)
    , m_storage(storage)
    , m_file(new StoreFile(storage, SettingsStorage::savedCommands, this))
{
    connect(m_file, &StoreFile::written, this, &CommandStore::saved);
    connect(m_file, &StoreFile::writeFailed, this, [this](const QString &fileName, const QString &reason) {
        qCWarning(lcStore).noquote() << "CommandStore save error:" << fileName + u':' << reason;
        emit saveFailed(fileName, reason);
    });
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

QString CommandStore::fileName() const
{
    return m_file->path();
}

QString CommandStore::backupFileName() const
{
    return m_file->copyFileName();
}

QString CommandStore::saveError() const
{
    return m_file->writeError();
}

void CommandStore::retrySave()
{
    save();
}

bool CommandStore::flush()
{
    return m_file->flush();
}

void CommandStore::load()
{
    QString error;
    const std::optional<QByteArray> data = m_file->read(&error);
    if (!data) {
        if (!error.isEmpty()) {
            m_loadError = error;
            qCWarning(lcStore).noquote() << "CommandStore load error:" << fileName() + u':' << error;
        }
        return;
    }
    bool unknownKeys = false;
    auto decoded = SavedCommand::decodeList(*data, &error, &unknownKeys);
    if (!decoded) {
        m_loadError = error;
        qCWarning(lcStore).noquote() << "CommandStore load error:" << fileName() + u':' << error;
        m_file->keepCopy();
        return;
    }
    if (unknownKeys) {
        qCWarning(lcStore).noquote() << "CommandStore:" << fileName()
                                     << "holds keys this version does not know; it is copied aside before it is "
                                        "written without them";
        m_file->keepCopy();
    }
    m_commands = std::move(*decoded);
}

void CommandStore::save()
{
    // A copy of the list, cheap to take (its records share their text) and safe to encode on the
    // writer thread while this one goes on changing its own.
    m_file->write([commands = m_commands] { return SavedCommand::encodeList(commands); });
}
