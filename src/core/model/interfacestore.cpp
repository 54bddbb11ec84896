#include "interfacestore.h"

#include "jsontext.h"
#include "settingsstorage.h"
#include "storefile.h"
#include "text.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <optional>

namespace {
QString canonical(const QString &name)
{
    return name.normalized(QString::NormalizationForm_C);
}

// One Unicode scalar value; a lone surrogate stands for itself so that no two texts compare equal
// by accident.
char32_t nextScalar(const QString &s, qsizetype &i)
{
    const QChar c = s.at(i++);
    if (c.isHighSurrogate() && i < s.size() && s.at(i).isLowSurrogate())
        return QChar::surrogateToUcs4(c, s.at(i++));
    return c.unicode();
}

// Code point order, not UTF-16 unit order: a character outside the Basic Multilingual Plane (stored as
// a surrogate pair, 0xD800..) must still sort after U+E000..U+FFFF.
int compareScalars(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextScalar(a, i);
        const char32_t y = nextScalar(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}
} // namespace

InterfaceStore::InterfaceStore(SettingsStorage &storage, QObject *parent)
    : ListStore(storage, SettingsStorage::customInterfaces, "InterfaceStore", QStringLiteral("Custom interfaces"),
                parent)
{
}

void InterfaceStore::load()
{
    const std::optional<QByteArray> data = read();
    const std::optional<QStringList> decoded = data ? decode(*data) : std::nullopt;
    if (data && !decoded)
        unreadable(QStringLiteral("not a JSON array of strings"));
    emit loaded();
    if (!decoded || *decoded == m_interfaces)
        return;
    m_interfaces = std::move(*decoded);
    emit changed();
}

bool InterfaceStore::add(const QString &name)
{
    const QString trimmed = Text::trimmed(name);
    if (trimmed.isEmpty())
        return false;
    if (std::any_of(m_interfaces.cbegin(), m_interfaces.cend(),
                    [&](const QString &existing) { return sameName(existing, trimmed); }))
        return false;
    m_interfaces.append(trimmed);
    // Stable, so entries that compare equal (possible only in a list read from storage) keep their order.
    std::stable_sort(m_interfaces.begin(), m_interfaces.end(), &InterfaceStore::lessThan);
    save();
    emit changed();
    return true;
}

void InterfaceStore::remove(const QString &name)
{
    const qsizetype removed = m_interfaces.removeIf([&](const QString &existing) { return sameName(existing, name); });
    save();
    if (removed > 0)
        emit changed();
}

void InterfaceStore::save()
{
    // Written before returning: the file is small, and the Sniffer form that shows the list may be
    // discarded at any moment.
    file().write([names = m_interfaces] { return encode(names); });
    file().flush();
}

QByteArray InterfaceStore::encode(const QStringList &names)
{
    return QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact);
}

QByteArray InterfaceStore::document() const
{
    return encode(m_interfaces);
}

std::optional<QStringList> InterfaceStore::decode(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = JsonText::read(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QStringList names;
    for (const QJsonValue &value : document.array()) {
        if (!value.isString())
            return std::nullopt;
        names << value.toString();
    }
    return names;
}

bool InterfaceStore::sameName(const QString &a, const QString &b)
{
    return a == b || canonical(a) == canonical(b);
}

bool InterfaceStore::lessThan(const QString &a, const QString &b)
{
    return compareScalars(canonical(a), canonical(b)) < 0;
}
