#pragma once

#include "debugcategory.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

// One saved command. createdAt is kept exactly as stored (seconds since 2001-01-01 00:00:00 UTC) so
// that a stored value survives a load and save unchanged, even below the millisecond.
struct SavedCommand {
    QUuid id;
    QString title;
    DebugCategory category = DebugCategory::session;
    QString command;
    QString notes;
    double createdAt = 0;

    // A new record with a random id, created now.
    static SavedCommand create(const QString &title, DebugCategory category, const QString &command,
                               const QString &notes);

    // Invalid when createdAt lies beyond any date (a hand edit, another program): shown as unknown.
    QDateTime createdAtDateTime() const;
    static double referenceSeconds(const QDateTime &dateTime);

    QJsonObject toJson() const;
    static std::optional<SavedCommand> fromJson(const QJsonObject &object, QString *error = nullptr);

    // The stored form: a compact JSON array, one object per record, in list order.
    static QByteArray encodeList(const QList<SavedCommand> &commands);
    // Strict: any invalid record makes the whole array unreadable. unknownKeys tells whether a record
    // holds keys besides the six (a newer version's), which encodeList would drop. progress, when given,
    // hears now and then how much is read (0 to 1), and stops the reading by returning false.
    static std::optional<QList<SavedCommand>> decodeList(const QByteArray &data, QString *error = nullptr,
                                                         bool *unknownKeys = nullptr,
                                                         const std::function<bool(double)> &progress = {});

    // The content of an exported text file: the command text alone, or, when there are notes, a
    // comment header with the title and the notes, an empty line, then the command text.
    QString exportText() const;

    // The canonical upper-case 8-4-4-4-12 text of an id.
    static QString idText(const QUuid &id);

    friend bool operator==(const SavedCommand &, const SavedCommand &) = default;
};
