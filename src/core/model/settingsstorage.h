#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// Where the application keeps what it stores: an INI settings file (by default the platform's
// per-user location, on Linux ~/.config/Brindlecap/BrindlecapBuilder.conf; the environment variable
// BRINDLECAP_SETTINGS names another file, for tests and portable use) and, beside it, one JSON file
// for each list of the user's. The first version kept those lists inside the settings file;
// migrateLegacyLists() moves them out. QSettings only ever reads the settings file here: it never
// rewrites it, since it may hold the user's lists and QSettings cuts a file short on a full disk.
class SettingsStorage
{
public:
    // A list of the user's: its file beside the settings file, and its key in the first version.
    struct List {
        const char *fileName;
        const char *legacyKey;
    };
    static constexpr List savedCommands{"saved-commands.json", "BrindlecapBuilder.SavedCommands.v1"};
    static constexpr List customInterfaces{"custom-interfaces.json", "BrindlecapBuilder.CustomInterfaces.v1"};

    // An empty fileName means BRINDLECAP_SETTINGS, else the per-user default.
    explicit SettingsStorage(const QString &fileName = {});
    ~SettingsStorage();
    SettingsStorage(const SettingsStorage &) = delete;
    SettingsStorage &operator=(const SettingsStorage &) = delete;

    // Removes what writes interrupted by a crash or a power cut left beside the settings file: temporary
    // files of the lists, their copies and the settings file itself ("saved-commands.json.a1B2c3"), and
    // nothing else. Only while no write of this process can be under way, and with the instance lock
    // held, so that no other process's write is either. Returns the files removed.
    static QStringList removeInterruptedWrites(const QString &settingsFile);

    // The settings file that fileName names: itself, else BRINDLECAP_SETTINGS, else the per-user
    // default. Found without opening it.
    static QString resolvedFileName(const QString &fileName = {});
    QString fileName() const { return m_fileName; }
    QString pathOf(const List &list) const;

    // Moves each list still inside the settings file into its own file, byte for byte (keeping the
    // settings file's permissions), then removes the old keys, once every list is safe on disk, by
    // rewriting the settings file without their lines through the checked atomic writer. Where the
    // list's own file exists already and holds something else, the old value is kept in a file beside
    // it first (superseded()); absorbed names a list whose file is known to hold the old value. A
    // value that is not text (a hand edit QSettings reads as a list) cannot be moved; the settings
    // file is copied aside before its key is removed. Nothing is removed after a failure, so the next
    // call tries again. Does nothing when there is nothing to move, so each store calls it before
    // reading.
    void migrateLegacyLists(const List *absorbed = nullptr);

    // The list's value in the settings file, as long as it could not be moved out; nullopt once it has
    // been, or when it was never there. A value that is not text reads as nullopt with error set.
    std::optional<QByteArray> legacyValue(const List &list, QString *error = nullptr) const;
    // The stored list, given what reading its own file gave (with why it failed; the read may have run
    // on another thread): that, or, while the list has no file yet, its value in the settings file, and
    // then legacy is set. nullopt when there is none, with why set when it cannot be read.
    std::optional<QByteArray> storedList(const List &list, std::optional<QByteArray> fromFile, QString *why,
                                         bool *legacy) const;
    // When the list's value was not text: why, and where the settings file was copied.
    struct Unmovable {
        QString reason;
        QString copy;
    };
    std::optional<Unmovable> unmovable(const List &list) const;
    // Where the first version's value went when the list's own file already held something else.
    QString superseded(const List &list) const;

private:
    bool removeKeys(const QStringList &keys);

    const QString m_fileName;
    // Why the settings file is not read at all (a pipe, a device, too large); empty when it is.
    QString m_unusable;
    // Null while the file is not read.
    std::unique_ptr<QSettings> m_settings;
    QHash<QString, Unmovable> m_unmovable;
    QHash<QString, QString> m_superseded;
};
