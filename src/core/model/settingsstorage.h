#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// The key-value store behind both persistent lists: an INI file through QSettings. By default the
// platform's per-user location (on Linux ~/.config/Brindlecap/BrindlecapBuilder.conf); the
// environment variable BRINDLECAP_SETTINGS names another file (tests, portable use).
class SettingsStorage
{
public:
    // An empty fileName means BRINDLECAP_SETTINGS, else the per-user default.
    explicit SettingsStorage(const QString &fileName = {});
    ~SettingsStorage();
    SettingsStorage(const SettingsStorage &) = delete;
    SettingsStorage &operator=(const SettingsStorage &) = delete;

    static QString defaultFileName();
    QString fileName() const;

    bool contains(const QString &key) const;
    QVariant value(const QString &key) const;

    // Writes and syncs at once; on failure returns false and describes why in error.
    bool setValue(const QString &key, const QByteArray &data, QString *error = nullptr);

private:
    std::unique_ptr<QSettings> m_settings;
};
