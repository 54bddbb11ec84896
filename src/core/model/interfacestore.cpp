#include "interfacestore.h"

#include "settingsstorage.h"
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

std::optional<QStringList> decode(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
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
} // namespace

InterfaceStore::InterfaceStore(SettingsStorage &storage, const QString &storageKey, QObject *parent)
    : QObject(parent)
    , m_storage(storage)
    , m_key(storageKey)
{
}

void InterfaceStore::load()
{
    if (!m_storage.contains(m_key))
        return;
    const QVariant value = m_storage.value(m_key);
    std::optional<QStringList> decoded;
    if (value.typeId() == QMetaType::QByteArray)
        decoded = decode(value.toByteArray());
    else if (value.typeId() == QMetaType::QString) // a hand-edited settings file holds plain text
        decoded = decode(value.toString().toUtf8());
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
    const QByteArray data = QJsonDocument(QJsonArray::fromStringList(m_interfaces)).toJson(QJsonDocument::Compact);
    // A failed write is ignored: the list stays in memory and the next change tries again.
    m_storage.setValue(m_key, data);
}

bool InterfaceStore::sameName(const QString &a, const QString &b)
{
    return a == b || canonical(a) == canonical(b);
}

bool InterfaceStore::lessThan(const QString &a, const QString &b)
{
    return compareScalars(canonical(a), canonical(b)) < 0;
}
