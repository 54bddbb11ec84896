#pragma once

#include "model/settingsstorage.h"

#include <QFile>

// Files as the tests put them on disk and find them there; no path reads as an empty file.
inline QByteArray fileContents(const QString &path)
{
    if (path.isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// A list of the user's as it is on disk, and a way to put one there before a store reads it.
inline QByteArray storedList(const SettingsStorage &storage, const SettingsStorage::List &list)
{
    return fileContents(storage.pathOf(list));
}

inline bool putStoredList(const SettingsStorage &storage, const SettingsStorage::List &list, const QByteArray &data)
{
    return writeFile(storage.pathOf(list), data);
}
