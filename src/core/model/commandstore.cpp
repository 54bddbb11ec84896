#include "commandstore.h"

#include "settingsstorage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcStore, "brindlecap.store")

CommandStore::CommandStore(SettingsStorage &storage, const QString &storageKey, QObject *parent)
    : QObject(parent)
    , m_storage(storage)
    , m_key(storageKey)
{
    load();
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

void CommandStore::load()
{
    if (!m_storage.contains(m_key))
        return;
    const QVariant value = m_storage.value(m_key);
    QByteArray data;
    if (value.typeId() == QMetaType::QByteArray)
        data = value.toByteArray();
    else if (value.typeId() == QMetaType::QString) // a hand-edited settings file holds plain text
        data = value.toString().toUtf8();
    else
        return;

    QString error;
    auto decoded = SavedCommand::decodeList(data, &error);
    if (!decoded) {
        qCWarning(lcStore).noquote() << "CommandStore load error:" << error;
        m_unreadable = data;
        m_needsBackup = true;
        return;
    }
    m_commands = std::move(*decoded);
}

void CommandStore::save()
{
    // The value that failed to load may hold commands this version cannot read; never overwrite it
    // before a copy is safe on disk.
    if (m_needsBackup && !backUpUnreadable())
        return;

    QString error;
    if (!m_storage.setValue(m_key, SavedCommand::encodeList(m_commands), &error))
        qCWarning(lcStore).noquote() << "CommandStore save error:" << error;
}

bool CommandStore::backUpUnreadable()
{
    const QFileInfo settings(m_storage.fileName());
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString base = QStringLiteral("%1/%2.unreadable-%3").arg(settings.absolutePath(), m_key, stamp);
    QDir().mkpath(settings.absolutePath());
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString name =
            attempt == 1 ? base + QStringLiteral(".json") : QStringLiteral("%1-%2.json").arg(base).arg(attempt);
        QFile file(name);
        // NewOnly: an earlier backup is never overwritten.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            qCWarning(lcStore).noquote() << "CommandStore backup error:" << file.errorString()
                                         << "- the stored value was left in place";
            return false;
        }
        if (file.write(m_unreadable) != m_unreadable.size() || !file.flush()) {
            qCWarning(lcStore).noquote() << "CommandStore backup error:" << file.errorString()
                                         << "- the stored value was left in place";
            file.remove();
            return false;
        }
        file.close();
        m_backupFileName = name;
        m_unreadable = QByteArray();
        m_needsBackup = false;
        qCWarning(lcStore).noquote() << "CommandStore: the unreadable saved commands were copied to" << name;
        return true;
    }
    return false;
}
