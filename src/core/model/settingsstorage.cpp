#include "settingsstorage.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
constexpr auto organisation = "Brindlecap";
constexpr auto application = "BrindlecapBuilder";

QString describeWriteFailure(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QFileInfo dir(file.absolutePath());
    if (!dir.exists())
        return QStringLiteral("the folder %1 does not exist and could not be created").arg(dir.filePath());
    if (file.exists() && !file.isWritable())
        return QStringLiteral("%1 is read-only").arg(fileName);
    if (!file.exists() && !dir.isWritable())
        return QStringLiteral("the folder %1 is read-only").arg(dir.filePath());
    return QStringLiteral("could not write %1 (the disk may be full)").arg(fileName);
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

bool SettingsStorage::contains(const QString &key) const
{
    return m_settings->contains(key);
}

QVariant SettingsStorage::value(const QString &key) const
{
    return m_settings->value(key);
}

bool SettingsStorage::setValue(const QString &key, const QByteArray &data, QString *error)
{
    m_settings->setValue(key, data);
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return true;
    if (error)
        *error = describeWriteFailure(m_settings->fileName());
    return false;
}
