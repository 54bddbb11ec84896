#include "savedcommand.h"

#include "jsontext.h"
#include "text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

// The stored form of the saved commands: a compact JSON array, byte for byte what QJsonDocument
// writes, read by a fast reader for the common case and by QJsonDocument for everything else.

namespace {
enum Key { keyId, keyTitle, keyCategory, keyCommand, keyNotes, keyCreatedAt, keyCount };
constexpr std::array<std::string_view, keyCount> keyNames{"id", "title", "category", "command", "notes", "createdAt"};

QString keyName(int key)
{
    return QString::fromLatin1(keyNames.at(key));
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

// The record from its values, checked as every reader checks them.
std::optional<SavedCommand> makeCommand(const QString &id, const QString &title, const QString &category,
                                        const QString &command, const QString &notes, double createdAt, QString *error)
{
    if (!isCanonicalUuid(id)) {
        fail(error, QStringLiteral("%1 is not a valid UUID").arg(Text::quoted(id)));
        return std::nullopt;
    }
    const auto parsedCategory = Category::fromRawValue(category);
    if (!parsedCategory) {
        fail(error, QStringLiteral("%1 is not a valid category").arg(Text::quoted(category)));
        return std::nullopt;
    }
    return SavedCommand{QUuid::fromString(id), title, *parsedCategory, command, notes, createdAt};
}

// Reads the array as this program writes it, several times faster than QJsonDocument: objects of
// exactly the six keys, string values, plain decimal numbers. Anything else, errors included, makes
// it give up, and QJsonDocument reads the text instead; a fuzz target checks that the two agree.
class FastReader
{
public:
    explicit FastReader(QByteArrayView json, const std::function<bool(double)> &progress = {})
        : m_p(json.data())
        , m_begin(json.data())
        , m_end(json.data() + json.size())
        , m_progress(progress)
    {
    }

    // Whether progress asked to stop: list() then gave up for that reason alone.
    bool cancelled() const { return m_cancelled; }

    std::optional<QList<SavedCommand>> list()
    {
        QList<SavedCommand> result;
        if (!token('[') || !space())
            return std::nullopt;
        if (*m_p == ']') {
            ++m_p;
        } else {
            for (;;) {
                auto command = object();
                if (!command)
                    return std::nullopt;
                result.append(std::move(*command));
                if (m_progress && result.size() % 256 == 0 &&
                    !m_progress(double(m_p - m_begin) / double(std::max<qsizetype>(m_end - m_begin, 1)))) {
                    m_cancelled = true;
                    return std::nullopt;
                }
                if (token(','))
                    continue;
                if (!token(']'))
                    return std::nullopt;
                break;
            }
        }
        if (space())
            return std::nullopt;
        return result;
    }

private:
    // JSON's four white-space characters; false at the end of the text.
    bool space()
    {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
        return m_p < m_end;
    }

    bool token(char c)
    {
        if (!space() || *m_p != c)
            return false;
        ++m_p;
        return true;
    }

    std::optional<SavedCommand> object()
    {
        if (!token('{'))
            return std::nullopt;
        std::array<QString, keyCount> text;
        double createdAt = 0;
        unsigned seen = 0;
        for (;;) {
            if (!token('"'))
                return std::nullopt;
            const char *name = m_p;
            while (m_p < m_end && *m_p != '"' && *m_p != '\\')
                ++m_p;
            if (m_p >= m_end || *m_p != '"')
                return std::nullopt;
            const std::string_view key(name, size_t(m_p - name));
            ++m_p;
            const auto found = std::find(keyNames.cbegin(), keyNames.cend(), key);
            const auto index = int(found - keyNames.cbegin());
            if (found == keyNames.cend() || (seen & (1u << index)) || !token(':') || !space())
                return std::nullopt;
            seen |= 1u << index;
            if (index == keyCreatedAt) {
                const auto value = number();
                if (!value)
                    return std::nullopt;
                createdAt = *value;
            } else {
                if (*m_p != '"')
                    return std::nullopt;
                ++m_p;
                auto value = string();
                if (!value)
                    return std::nullopt;
                text.at(index) = std::move(*value);
            }
            if (token(','))
                continue;
            if (!token('}'))
                return std::nullopt;
            break;
        }
        if (seen != (1u << keyCount) - 1)
            return std::nullopt;
        return makeCommand(text.at(keyId), text.at(keyTitle), text.at(keyCategory), text.at(keyCommand),
                           text.at(keyNotes), createdAt, nullptr);
    }

    // From after the opening quote to after the closing one.
    std::optional<QString> string()
    {
        const char *start = m_p;
        while (m_p < m_end) {
            const auto c = uchar(*m_p);
            if (c == '"') {
                ++m_p;
                return QString::fromLatin1(start, m_p - 1 - start);
            }
            if (c == '\\' || c < 0x20 || c >= 0x80)
                break;
            ++m_p;
        }
        m_buffer.assign(start, m_p);
        while (m_p < m_end) {
            const auto c = uchar(*m_p);
            if (c == '"') {
                ++m_p;
                return QString(reinterpret_cast<const QChar *>(m_buffer.data()), qsizetype(m_buffer.size()));
            }
            if (c == '\\') {
                if (!escape())
                    return std::nullopt;
            } else if (c < 0x20) {
                return std::nullopt;
            } else if (c < 0x80) {
                // Most of a command is plain ASCII between line breaks: copied a run at a time.
                const char *run = m_p;
                while (m_p < m_end && uchar(*m_p) >= 0x20 && uchar(*m_p) < 0x80 && *m_p != '"' && *m_p != '\\')
                    ++m_p;
                m_buffer.insert(m_buffer.end(), run, m_p);
            } else if (!utf8()) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    bool escape()
    {
        if (m_end - m_p < 2)
            return false;
        const char letter = m_p[1];
        m_p += 2;
        if (letter == 'u')
            return unicodeEscape();
        // JSON's two-character escapes; QJsonDocument's leniency with others is left to it.
        constexpr std::string_view letters = "\"\\/bfnrt";
        constexpr std::u16string_view characters = u"\"\\/\b\f\n\r\t";
        const auto found = letters.find(letter);
        if (found == std::string_view::npos)
            return false;
        m_buffer.push_back(characters[found]);
        return true;
    }

    bool unicodeEscape()
    {
        if (m_end - m_p < 4)
            return false;
        char16_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = *m_p++;
            unit <<= 4;
            if (h >= '0' && h <= '9')
                unit |= char16_t(h - '0');
            else if (h >= 'a' && h <= 'f')
                unit |= char16_t(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                unit |= char16_t(h - 'A' + 10);
            else
                return false;
        }
        // A lone surrogate stays as it is, as in QJsonDocument.
        m_buffer.push_back(unit);
        return true;
    }

    // One well-formed UTF-8 sequence: no overlong form, no surrogate, nothing beyond U+10FFFF.
    bool utf8()
    {
        const auto lead = uchar(*m_p);
        int length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead >= 0xc2 && lead <= 0xdf) {
            length = 2;
            code = lead & 0x1f;
            least = 0x80;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            length = 3;
            code = lead & 0x0f;
            least = 0x800;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (m_end - m_p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            const auto next = uchar(m_p[i]);
            if ((next & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3f);
        }
        if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
        m_p += length;
        if (code < 0x10000) {
            m_buffer.push_back(char16_t(code));
        } else {
            m_buffer.push_back(QChar::highSurrogate(code));
            m_buffer.push_back(QChar::lowSurrogate(code));
        }
        return true;
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?, followed by more text; an exponent is left to QJsonDocument.
    std::optional<double> number()
    {
        const char *start = m_p;
        if (*m_p == '-')
            ++m_p;
        const auto digits = [this] {
            const char *first = m_p;
            while (m_p < m_end && *m_p >= '0' && *m_p <= '9')
                ++m_p;
            return m_p - first;
        };
        const char *integer = m_p;
        const auto integerDigits = digits();
        if (integerDigits == 0 || (integerDigits > 1 && *integer == '0'))
            return std::nullopt;
        if (m_p < m_end && *m_p == '.') {
            ++m_p;
            if (digits() == 0)
                return std::nullopt;
        }
        if (m_p >= m_end || *m_p == 'e' || *m_p == 'E')
            return std::nullopt;
        double value = 0;
        const auto [end, status] = std::from_chars(start, m_p, value);
        if (status != std::errc() || end != m_p || !std::isfinite(value))
            return std::nullopt;
        // QJsonDocument reads "-0" as the integer 0.
        return value == 0 ? 0.0 : value;
    }

    const char *m_p;
    const char *const m_begin;
    const char *const m_end;
    const std::function<bool(double)> m_progress;
    bool m_cancelled = false;
    std::vector<char16_t> m_buffer;
};

// QJsonDocument's reading: any JSON, every error described.
std::optional<QList<SavedCommand>> decodeGeneral(const QByteArray &data, QString *error, bool *unknownKeys)
{
    QJsonParseError parseError;
    const QJsonDocument document = JsonText::read(data, &parseError);
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
            fail(error, QStringLiteral("entry %1 is not a JSON object").arg(i + 1));
            return std::nullopt;
        }
        const QJsonObject object = value.toObject();
        QString entryError;
        auto command = SavedCommand::fromJson(object, &entryError);
        if (!command) {
            fail(error, QStringLiteral("entry %1: %2").arg(i + 1).arg(entryError));
            return std::nullopt;
        }
        // All six keys are there, so any more are keys this version does not know.
        if (unknownKeys && object.size() > keyCount)
            *unknownKeys = true;
        result.append(std::move(*command));
    }
    return result;
}
} // namespace

QJsonObject SavedCommand::toJson() const
{
    return {
        {keyName(keyId), idText(id)},   {keyName(keyTitle), title}, {keyName(keyCategory), Category::title(category)},
        {keyName(keyCommand), command}, {keyName(keyNotes), notes}, {keyName(keyCreatedAt), createdAt},
    };
}

std::optional<SavedCommand> SavedCommand::fromJson(const QJsonObject &object, QString *error)
{
    std::array<QJsonValue, keyCount> values;
    for (int key = 0; key < keyCount; ++key) {
        const auto found = object.constFind(keyName(key));
        if (found == object.constEnd()) {
            fail(error, QStringLiteral("missing key \"%1\"").arg(keyName(key)));
            return std::nullopt;
        }
        values.at(key) = found.value();
        if (key != keyCreatedAt && !values.at(key).isString()) {
            fail(error, QStringLiteral("key \"%1\" is not a string").arg(keyName(key)));
            return std::nullopt;
        }
    }
    if (!values.at(keyCreatedAt).isDouble()) {
        fail(error, QStringLiteral("key \"createdAt\" is not a number"));
        return std::nullopt;
    }
    return makeCommand(values.at(keyId).toString(), values.at(keyTitle).toString(), values.at(keyCategory).toString(),
                       values.at(keyCommand).toString(), values.at(keyNotes).toString(),
                       values.at(keyCreatedAt).toDouble(), error);
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

std::optional<QList<SavedCommand>> SavedCommand::decodeList(const QByteArray &data, QString *error, bool *unknownKeys,
                                                            const std::function<bool(double)> &progress)
{
    if (unknownKeys)
        *unknownKeys = false;
    FastReader reader(data, progress);
    if (auto fast = reader.list())
        return fast;
    if (reader.cancelled()) {
        fail(error, QStringLiteral("cancelled"));
        return std::nullopt;
    }
    return decodeGeneral(data, error, unknownKeys);
}
