#include "settingsstorage.h"

#include "atomicfile.h"
#include "storelog.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
constexpr auto organisation = "Brindlecap";
constexpr auto application = "BrindlecapBuilder";

// The first version stored bytes; a hand-edited file holds plain text. A value broken by a hand edit
// (an unbalanced quote, a comma) reads as a list, whose original bytes QSettings no longer has.
std::optional<QByteArray> asText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    if (value.typeId() == QMetaType::QString)
        return value.toString().toUtf8();
    return std::nullopt;
}

QString notText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return QStringLiteral("the value in the settings file is a list, not JSON text");
    return QStringLiteral("the value in the settings file is not JSON text (%1)").arg(QLatin1String(value.typeName()));
}
} // namespace

SettingsStorage::SettingsStorage(const QString &fileName)
{
    QString path = fileName;
    if (path.isEmpty())
        path = qEnvironmentVariable("BRINDLECAP_SETTINGS");
    if (path.isEmpty())
        m_settings = std::make_unique<QSettings>(QLatin1String(organisation), QLatin1String(application));
    else
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

SettingsStorage::~SettingsStorage() = default;

QString SettingsStorage::defaultFileName()
{
    return QSettings(QLatin1String(organisation), QLatin1String(application)).fileName();
}

QString SettingsStorage::fileName() const
{
    return m_settings->fileName();
}

QString SettingsStorage::pathOf(const List &list) const
{
    return QFileInfo(fileName()).absoluteDir().filePath(QLatin1String(list.fileName));
}

void SettingsStorage::migrateLegacyLists()
{
    QStringList moved;
    bool copyFirst = false;
    bool unmovable = false;
    for (const List &list : {savedCommands, customInterfaces}) {
        const QString key = QLatin1String(list.legacyKey);
        if (!m_settings->contains(key))
            continue;
        moved << key;
        const QVariant value = m_settings->value(key);
        const std::optional<QByteArray> text = asText(value);
        const QString path = pathOf(list);
        if (QFileInfo::exists(path)) {
            // Moved before but not removed, or written since by the first version: keep a copy unless
            // the file holds exactly the same.
            copyFirst = copyFirst || !text || AtomicFile::read(path) != text;
            continue;
        }
        if (!text) {
            copyFirst = unmovable = true;
            m_unmovable.insert(key, {notText(value), {}});
            continue;
        }
        QString error;
        if (!AtomicFile::write(path, *text, &error)) {
            qCWarning(lcStore).noquote() << "could not move" << key << "out of the settings file to" << path << "-"
                                         << error << "- it stays in the settings file until the next start";
            return;
        }
    }
    if (moved.isEmpty())
        return;
    if (copyFirst) {
        QString error;
        const QString copy = AtomicFile::copyAside(
            fileName(), unmovable ? QStringLiteral("unreadable") : QStringLiteral("superseded"), &error);
        if (copy.isEmpty()) {
            qCWarning(lcStore).noquote() << "could not copy" << fileName() << "aside -" << error
                                         << "- the lists stay in the settings file";
            return;
        }
        for (Unmovable &u : m_unmovable)
            u.copy = copy;
        qCWarning(lcStore).noquote() << "the settings file was copied to" << copy
                                     << "before the lists were removed from it";
    }
    for (const QString &key : std::as_const(moved))
        m_settings->remove(key);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        qCWarning(lcStore).noquote() << "could not remove the moved lists from" << fileName()
                                     << "- the next start tries again";
}

std::optional<QByteArray> SettingsStorage::legacyValue(const List &list, QString *error) const
{
    const QString key = QLatin1String(list.legacyKey);
    if (!m_settings->contains(key))
        return std::nullopt;
    const QVariant value = m_settings->value(key);
    std::optional<QByteArray> text = asText(value);
    if (!text && error)
        *error = notText(value);
    return text;
}

std::optional<SettingsStorage::Unmovable> SettingsStorage::unmovable(const List &list) const
{
    const auto found = m_unmovable.constFind(QLatin1String(list.legacyKey));
    if (found == m_unmovable.cend())
        return std::nullopt;
    return *found;
}
