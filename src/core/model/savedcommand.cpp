#include "savedcommand.h"

#include "text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <array>
#include <cmath>

namespace {
// 2001-01-01 00:00:00 UTC as seconds since the Unix epoch.
constexpr double referenceEpoch = 978307200.0;

const QString keyId = QStringLiteral("id");
const QString keyTitle = QStringLiteral("title");
const QString keyCategory = QStringLiteral("category");
const QString keyCommand = QStringLiteral("command");
const QString keyNotes = QStringLiteral("notes");
const QString keyCreatedAt = QStringLiteral("createdAt");

// Every line of text as a "# " comment. The file is meant to be pasted into a firewall's console,
// where a second line of notes without the prefix would run as a command.
QString commented(const QString &text)
{
    QString result = QStringLiteral("# ");
    result.reserve(text.size() + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        result += c;
        if (!Text::isLineBreak(c) || (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n'))
            continue;
        result += QStringLiteral("# ");
    }
    return result;
}

char hexDigit(uint value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

// A JSON string as QJsonDocument writes it: UTF-8, the two-letter escapes, \u00XX for the other
// control characters, \uXXXX for a lone surrogate. Written through a pointer into room reserved for
// the worst case (six bytes per UTF-16 unit), as a save writes megabytes of it.
void appendJsonString(QByteArray &json, QStringView text)
{
    const qsizetype start = json.size();
    json.resize(start + 2 + 6 * text.size());
    char *out = json.data() + start;
    *out++ = '"';
    const char16_t *it = text.utf16();
    const char16_t *const end = it + text.size();
    auto escape = [&out](char letter) {
        *out++ = '\\';
        *out++ = letter;
    };
    auto unicodeEscape = [&out](char16_t u) {
        *out++ = '\\';
        *out++ = 'u';
        for (int shift = 12; shift >= 0; shift -= 4)
            *out++ = hexDigit((u >> shift) & 0xf);
    };
    while (it != end) {
        const char16_t u = *it++;
        if (u >= 0x20 && u < 0x80 && u != u'"' && u != u'\\') {
            *out++ = char(u);
        } else if (u < 0x80) {
            switch (u) {
            case u'"':
                escape('"');
                break;
            case u'\\':
                escape('\\');
                break;
            case u'\b':
                escape('b');
                break;
            case u'\f':
                escape('f');
                break;
            case u'\n':
                escape('n');
                break;
            case u'\r':
                escape('r');
                break;
            case u'\t':
                escape('t');
                break;
            default:
                unicodeEscape(u);
            }
        } else if (u < 0x800) {
            *out++ = char(0xc0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (!QChar::isSurrogate(u)) {
            *out++ = char(0xe0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3f));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (QChar::isHighSurrogate(u) && it != end && QChar::isLowSurrogate(*it)) {
            const char32_t code = QChar::surrogateToUcs4(u, *it++);
            *out++ = char(0xf0 | (code >> 18));
            *out++ = char(0x80 | ((code >> 12) & 0x3f));
            *out++ = char(0x80 | ((code >> 6) & 0x3f));
            *out++ = char(0x80 | (code & 0x3f));
        } else {
            unicodeEscape(u);
        }
    }
    *out++ = '"';
    json.truncate(out - json.constData());
}

void appendJsonNumber(QByteArray &json, double value)
{
    if (!qIsFinite(value)) {
        json += "null";
        return;
    }
    // Whole numbers as integers, as QJsonValue stores them.
    if (value == std::trunc(value) && std::abs(value) < 9007199254740992.0)
        json += QByteArray::number(qint64(value));
    else
        json += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

// 8-4-4-4-12 hexadecimal digits (either case) separated by hyphens, nothing around them.
bool isCanonicalUuid(QStringView text)
{
    if (text.size() != 36)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return false;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) {
            return false;
        }
    }
    return true;
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}
} // namespace

SavedCommand SavedCommand::create(const QString &title, DebugCategory category, const QString &command,
                                  const QString &notes)
{
    return {QUuid::createUuid(), title, category, command, notes, referenceSeconds(QDateTime::currentDateTimeUtc())};
}

double SavedCommand::referenceSeconds(const QDateTime &dateTime)
{
    return double(dateTime.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch;
}

QDateTime SavedCommand::createdAtDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(qint64((createdAt + referenceEpoch) * 1000.0), Qt::UTC);
}

QString SavedCommand::exportText() const
{
    if (notes.isEmpty())
        return command;
    return commented(title) + u'\n' + commented(notes) + QStringLiteral("\n\n") + command;
}

QString SavedCommand::idText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonObject SavedCommand::toJson() const
{
    return {
        {keyId, idText(id)},   {keyTitle, title}, {keyCategory, Category::title(category)},
        {keyCommand, command}, {keyNotes, notes}, {keyCreatedAt, createdAt},
    };
}

std::optional<SavedCommand> SavedCommand::fromJson(const QJsonObject &object, QString *error)
{
    // Each value is looked up once: with thousands of records, start-up spends its time here.
    enum { id, title, category, command, notes, createdAt, count };
    const std::array<const QString *, count> keys{&keyId,      &keyTitle, &keyCategory,
                                                  &keyCommand, &keyNotes, &keyCreatedAt};
    std::array<QJsonValue, count> values;
    for (int i = 0; i < count; ++i) {
        const auto found = object.constFind(*keys.at(i));
        if (found == object.constEnd()) {
            fail(error, QStringLiteral("missing key \"%1\"").arg(*keys.at(i)));
            return std::nullopt;
        }
        values.at(i) = found.value();
    }
    for (int i : {id, title, category, command, notes}) {
        if (!values.at(i).isString()) {
            fail(error, QStringLiteral("key \"%1\" is not a string").arg(*keys.at(i)));
            return std::nullopt;
        }
    }
    if (!values.at(createdAt).isDouble()) {
        fail(error, QStringLiteral("key \"createdAt\" is not a number"));
        return std::nullopt;
    }

    const QString idString = values.at(id).toString();
    if (!isCanonicalUuid(idString)) {
        fail(error, QStringLiteral("\"%1\" is not a valid UUID").arg(idString));
        return std::nullopt;
    }
    const QString categoryString = values.at(category).toString();
    const auto parsedCategory = Category::fromRawValue(categoryString);
    if (!parsedCategory) {
        fail(error, QStringLiteral("\"%1\" is not a valid category").arg(categoryString));
        return std::nullopt;
    }

    return SavedCommand{QUuid::fromString(idString),   values.at(title).toString(), *parsedCategory,
                        values.at(command).toString(), values.at(notes).toString(), values.at(createdAt).toDouble()};
}

QByteArray SavedCommand::encodeList(const QList<SavedCommand> &commands)
{
    // Written directly: building a QJsonDocument first took most of the time of every save once there
    // are thousands of commands. The bytes are the ones QJsonDocument writes (compact, keys sorted).
    QByteArray json;
    qsizetype estimate = 2;
    for (const SavedCommand &c : commands)
        estimate += 120 + c.title.size() + c.command.size() + c.notes.size();
    json.reserve(estimate + estimate / 8);
    json += '[';
    for (qsizetype i = 0; i < commands.size(); ++i) {
        const SavedCommand &c = commands.at(i);
        if (i > 0)
            json += ',';
        json += "{\"category\":";
        appendJsonString(json, Category::title(c.category));
        json += ",\"command\":";
        appendJsonString(json, c.command);
        json += ",\"createdAt\":";
        appendJsonNumber(json, c.createdAt);
        json += ",\"id\":\"";
        json += idText(c.id).toLatin1();
        json += "\",\"notes\":";
        appendJsonString(json, c.notes);
        json += ",\"title\":";
        appendJsonString(json, c.title);
        json += '}';
    }
    json += ']';
    return json;
}

std::optional<QList<SavedCommand>> SavedCommand::decodeList(const QByteArray &data, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        fail(error,
             QStringLiteral("invalid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString()));
        return std::nullopt;
    }
    if (!document.isArray()) {
        fail(error, QStringLiteral("the stored value is not a JSON array"));
        return std::nullopt;
    }
    const QJsonArray array = document.array();
    QList<SavedCommand> result;
    result.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonValue value = array.at(i);
        if (!value.isObject()) {
            fail(error, QStringLiteral("entry %1 is not a JSON object").arg(i));
            return std::nullopt;
        }
        QString entryError;
        auto command = fromJson(value.toObject(), &entryError);
        if (!command) {
            fail(error, QStringLiteral("entry %1: %2").arg(i).arg(entryError));
            return std::nullopt;
        }
        result.append(std::move(*command));
    }
    return result;
}
