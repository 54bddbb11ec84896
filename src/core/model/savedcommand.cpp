#include "savedcommand.h"

#include "text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

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
QString commented(const QString &text) {
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

bool fail(QString *error, const QString &message) {
    if (error)
        *error = message;
    return false;
}
} // namespace

SavedCommand SavedCommand::create(const QString &title, DebugCategory category, const QString &command,
                                  const QString &notes) {
    return {QUuid::createUuid(), title, category, command, notes, referenceSeconds(QDateTime::currentDateTimeUtc())};
}

double SavedCommand::referenceSeconds(const QDateTime &dateTime) {
    return double(dateTime.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch;
}

QDateTime SavedCommand::createdAtDateTime() const {
    return QDateTime::fromMSecsSinceEpoch(qint64((createdAt + referenceEpoch) * 1000.0), Qt::UTC);
}

QString SavedCommand::exportText() const {
    if (notes.isEmpty())
        return command;
    return commented(title) + u'\n' + commented(notes) + QStringLiteral("\n\n") + command;
}

QString SavedCommand::idText(const QUuid &id) {
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonObject SavedCommand::toJson() const {
    return {
        {keyId, idText(id)},   {keyTitle, title}, {keyCategory, Category::title(category)},
        {keyCommand, command}, {keyNotes, notes}, {keyCreatedAt, createdAt},
    };
}

std::optional<SavedCommand> SavedCommand::fromJson(const QJsonObject &object, QString *error) {
    for (const QString &key : {keyId, keyTitle, keyCategory, keyCommand, keyNotes, keyCreatedAt}) {
        if (!object.contains(key)) {
            fail(error, QStringLiteral("missing key \"%1\"").arg(key));
            return std::nullopt;
        }
    }
    for (const QString &key : {keyId, keyTitle, keyCategory, keyCommand, keyNotes}) {
        if (!object.value(key).isString()) {
            fail(error, QStringLiteral("key \"%1\" is not a string").arg(key));
            return std::nullopt;
        }
    }
    if (!object.value(keyCreatedAt).isDouble()) {
        fail(error, QStringLiteral("key \"createdAt\" is not a number"));
        return std::nullopt;
    }

    static const QRegularExpression uuidPattern(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    const QString idString = object.value(keyId).toString();
    if (!uuidPattern.match(idString).hasMatch()) {
        fail(error, QStringLiteral("\"%1\" is not a valid UUID").arg(idString));
        return std::nullopt;
    }
    const QString categoryString = object.value(keyCategory).toString();
    const auto category = Category::fromRawValue(categoryString);
    if (!category) {
        fail(error, QStringLiteral("\"%1\" is not a valid category").arg(categoryString));
        return std::nullopt;
    }

    return SavedCommand{
        QUuid::fromString(idString),         object.value(keyTitle).toString(), *category,
        object.value(keyCommand).toString(), object.value(keyNotes).toString(), object.value(keyCreatedAt).toDouble()};
}

QByteArray SavedCommand::encodeList(const QList<SavedCommand> &commands) {
    QJsonArray array;
    for (const SavedCommand &c : commands)
        array.append(c.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<SavedCommand>> SavedCommand::decodeList(const QByteArray &data, QString *error) {
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
