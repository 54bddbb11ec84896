#include "settingsstorage.h"

#include "atomicfile.h"
#include "storelog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

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

bool isIniSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The INI text without the top-level entries of keys, split into entries as QSettings splits it (an
// entry may go on over several lines, inside quotes or after a backslash); every other byte stays.
QByteArray withoutEntries(const QByteArray &data, const QStringList &keys)
{
    QByteArray kept;
    kept.reserve(data.size());
    bool topLevel = true;
    qsizetype copied = 0;
    const qsizetype n = data.size();
    for (qsizetype pos = 0; pos < n;) {
        qsizetype start = pos;
        while (start < n && isIniSpace(data.at(start)))
            ++start;
        qsizetype i = start;
        qsizetype equals = -1;
        bool quoted = false;
        while (i < n) {
            const char c = data.at(i++);
            if (c == '=' && !quoted && equals < 0) {
                equals = i - 1;
            } else if ((c == '\n' || c == '\r') && !quoted) {
                --i;
                break;
            } else if (c == '\\' && i < n) {
                const char escaped = data.at(i++);
                if (i < n && ((escaped == '\n' && data.at(i) == '\r') || (escaped == '\r' && data.at(i) == '\n')))
                    ++i;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == ';' && !quoted) {
                // A comment, to the end of the line.
                while (i < n && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                break;
            }
        }
        pos = i;
        if (i < n && data.at(i) == '\r')
            ++pos;
        if (pos < n && data.at(pos) == '\n')
            ++pos;
        if (i <= start)
            continue;
        const QByteArrayView line(data.constData() + start, i - start);
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArrayView section = line.sliced(1, (close < 0 ? line.size() : close) - 1);
            topLevel = section.compare("general", Qt::CaseInsensitive) == 0;
        } else if (topLevel && equals >= 0 &&
                   keys.contains(QString::fromUtf8(data.mid(start, equals - start).trimmed()))) {
            kept.append(data.constData() + copied, start - copied);
            copied = pos;
        }
    }
    kept.append(data.constData() + copied, n - copied);
    return kept;
}

// Whether text, read as QSettings reads a settings file, holds what settings holds but keys.
bool readsAsWithout(const QByteArray &text, const QSettings &settings, const QStringList &keys, QString *error)
{
    QTemporaryFile file(QFileInfo(settings.fileName()).dir().filePath(QStringLiteral(".settings-check-XXXXXX")));
    if (!file.open() || file.write(text) != text.size() || !file.flush()) {
        *error = AtomicFile::reason(file.errorString(), errno);
        return false;
    }
    const QSettings check(file.fileName(), QSettings::IniFormat);
    QStringList expected = settings.allKeys();
    expected.removeIf([&keys](const QString &key) { return keys.contains(key); });
    QStringList found = check.allKeys();
    expected.sort();
    found.sort();
    if (check.status() != QSettings::NoError || found != expected ||
        !std::ranges::all_of(expected, [&](const QString &key) { return check.value(key) == settings.value(key); })) {
        *error = QStringLiteral("without them it would not read the same");
        return false;
    }
    return true;
}
} // namespace

SettingsStorage::SettingsStorage(const QString &fileName)
    : m_fileName(resolvedFileName(fileName))
{
    // QSettings reads its file as soon as it is made: it would wait for ever on a pipe, and read a
    // device without end. Why is told where a list is missed for it (legacyValue()).
    if (AtomicFile::readable(m_fileName, &m_unusable))
        m_settings = std::make_unique<QSettings>(m_fileName, QSettings::IniFormat);
}

SettingsStorage::~SettingsStorage() = default;

QStringList SettingsStorage::removeInterruptedWrites(const QString &settingsFile)
{
    const QFileInfo settings(resolvedFileName(settingsFile));
    // What the atomic writer names its temporary files: the target's name, a dot and six letters or
    // digits. The targets: the lists, the settings file, and the copies of either.
    const QString copy = QStringLiteral("(?:\\.(?:unreadable|superseded|rescue)-\\d{8}T\\d{6}Z(?:-\\d+)?)?");
    const QString suffix =
        settings.suffix().isEmpty() ? QString() : QStringLiteral("\\.") + QRegularExpression::escape(settings.suffix());
    const QRegularExpression written(QStringLiteral("^(?:(?:saved-commands|custom-interfaces)%1\\.json\\.|%2%1%3\\.|"
                                                    "\\.settings-check-)[A-Za-z0-9]{6}$")
                                         .arg(copy, QRegularExpression::escape(settings.completeBaseName()), suffix));
    QStringList removed;
    const QDir folder = settings.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (written.match(name).hasMatch() && QFile::remove(folder.filePath(name))) {
            removed << folder.filePath(name);
            qCInfo(lcStore).noquote() << "removed" << folder.filePath(name) << "left by an interrupted write";
        }
    }
    return removed;
}

QString SettingsStorage::resolvedFileName(const QString &fileName)
{
    if (!fileName.isEmpty())
        return fileName;
    const QString fromEnvironment = qEnvironmentVariable("BRINDLECAP_SETTINGS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    // Where QSettings keeps the organisation's INI file for the application.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/%1/%2.conf").arg(QLatin1String(organisation), QLatin1String(application));
}

QString SettingsStorage::pathOf(const List &list) const
{
    return QFileInfo(fileName()).absoluteDir().filePath(QLatin1String(list.fileName));
}

void SettingsStorage::migrateLegacyLists(const List *absorbed)
{
    if (!m_unusable.isEmpty())
        return;
    QStringList moved;
    bool copyFirst = false;
    // What the first version's settings file let others do with the lists, its copies keep.
    const QFileDevice::Permissions permissions = QFile::permissions(fileName());
    for (const List &list : {savedCommands, customInterfaces}) {
        const QString key = QLatin1String(list.legacyKey);
        if (!m_settings->contains(key))
            continue;
        moved << key;
        const QVariant value = m_settings->value(key);
        const std::optional<QByteArray> text = asText(value);
        const QString path = pathOf(list);
        const bool hasFile = QFileInfo::exists(path);
        if (!text) {
            copyFirst = true;
            if (!hasFile)
                m_unmovable.insert(key, {notText(value), {}});
            continue;
        }
        QString error;
        if (hasFile) {
            // Moved before but not removed, or written since by the first version: what the file does not
            // hold is kept beside it, for the user to see.
            if ((absorbed && qstrcmp(absorbed->fileName, list.fileName) == 0) || AtomicFile::read(path) == text)
                continue;
            const QString kept = AtomicFile::writeAside(path, QStringLiteral("superseded"), *text, permissions, &error);
            if (kept.isEmpty()) {
                qCWarning(lcStore).noquote() << "could not keep" << key << "of the settings file beside" << path << "-"
                                             << error << "- it stays in the settings file";
                return;
            }
            m_superseded.insert(key, kept);
            continue;
        }
        if (!AtomicFile::write(path, *text, &error, permissions)) {
            qCWarning(lcStore).noquote() << "could not move" << key << "out of the settings file to" << path << "-"
                                         << error << "- it stays in the settings file until the next start";
            return;
        }
    }
    if (moved.isEmpty())
        return;
    if (copyFirst) {
        QString error;
        const QString copy = AtomicFile::copyAside(fileName(), QStringLiteral("unreadable"), &error);
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
    removeKeys(moved);
}

bool SettingsStorage::removeKeys(const QStringList &keys)
{
    QString error;
    // Up to date with the file, so that the check below compares with what is on disk now.
    m_settings->sync();
    const std::optional<QByteArray> data = AtomicFile::read(fileName(), &error);
    const QByteArray kept = data ? withoutEntries(*data, keys) : QByteArray();
    if (!data || !readsAsWithout(kept, *m_settings, keys, &error) || !AtomicFile::write(fileName(), kept, &error)) {
        qCWarning(lcStore).noquote() << "could not remove the moved lists from" << fileName() << "-" << error
                                     << "- the next start tries again";
        return false;
    }
    m_settings->sync();
    return true;
}

std::optional<QByteArray> SettingsStorage::legacyValue(const List &list, QString *error) const
{
    const QString key = QLatin1String(list.legacyKey);
    if (!m_unusable.isEmpty()) {
        // It may hold a list of the first version's, which cannot be known.
        if (error)
            *error = QStringLiteral("the settings file %1 cannot be read: %2").arg(fileName(), m_unusable);
        return std::nullopt;
    }
    if (!m_settings->contains(key))
        return std::nullopt;
    const QVariant value = m_settings->value(key);
    std::optional<QByteArray> text = asText(value);
    if (!text && error)
        *error = notText(value);
    return text;
}

std::optional<QByteArray> SettingsStorage::storedList(const List &list, std::optional<QByteArray> fromFile,
                                                      QString *why, bool *legacy) const
{
    *legacy = false;
    if (fromFile || !why->isEmpty())
        return fromFile;
    std::optional<QByteArray> value = legacyValue(list, why);
    *legacy = value || !why->isEmpty();
    return value;
}

std::optional<SettingsStorage::Unmovable> SettingsStorage::unmovable(const List &list) const
{
    const auto found = m_unmovable.constFind(QLatin1String(list.legacyKey));
    if (found == m_unmovable.cend())
        return std::nullopt;
    return *found;
}

QString SettingsStorage::superseded(const List &list) const
{
    return m_superseded.value(QLatin1String(list.legacyKey));
}
