#include "model/jsontext.h"
#include "model/savedcommand.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

// The saved-commands file read by the fast reader must give exactly what QJsonDocument gives, and the
// file written must be exactly what QJsonDocument writes: either difference would change a user's file.

namespace {
struct Reading {
    QList<SavedCommand> commands;
    bool unknownKeys = false;
};

// What the stored array means, read the slow and certain way.
std::optional<Reading> oracle(const QByteArray &data)
{
    QJsonParseError error;
    // Qt's reading, but for a byte-order mark starting a string, which Qt 6.4 drops.
    const QJsonDocument document = JsonText::read(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    Reading reading;
    for (const QJsonValue &value : document.array()) {
        if (!value.isObject())
            return std::nullopt;
        const QJsonObject object = value.toObject();
        auto command = SavedCommand::fromJson(object);
        if (!command)
            return std::nullopt;
        reading.commands.append(*command);
        reading.unknownKeys = reading.unknownKeys || object.size() > 6;
    }
    return reading;
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    bool unknownKeys = false;
    const auto decoded = SavedCommand::decodeList(bytes, &error, &unknownKeys);
    const auto expected = oracle(bytes);

    check(decoded.has_value() == expected.has_value());
    if (!decoded) {
        check(!error.isEmpty());
        return 0;
    }
    check(*decoded == expected->commands);
    check(unknownKeys == expected->unknownKeys);

    QJsonArray array;
    for (const SavedCommand &command : *decoded) {
        array.append(command.toJson());
        // Shown as a date when it is one, and then the date of the stored value to the millisecond.
        const QDateTime created = command.createdAtDateTime();
        if (created.isValid()) {
            const double seconds = SavedCommand::referenceSeconds(created);
            check(std::abs(seconds - command.createdAt) <= 0.0011 + std::abs(command.createdAt) * 4e-15);
        }
    }
    const QByteArray encoded = SavedCommand::encodeList(*decoded);
    check(encoded == QJsonDocument(array).toJson(QJsonDocument::Compact));
    const auto again = SavedCommand::decodeList(encoded);
    check(again && *again == *decoded);
    return 0;
}
