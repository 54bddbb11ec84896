#pragma once

#include "model/settingsstorage.h"

#include <QFile>

// A list of the user's as it is on disk, and a way to put one there before a store reads it.
inline QByteArray storedList(const SettingsStorage &storage, const SettingsStorage::List &list)
{
    QFile file(storage.pathOf(list));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool putStoredList(const SettingsStorage &storage, const SettingsStorage::List &list, const QByteArray &data)
{
    QFile file(storage.pathOf(list));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}
