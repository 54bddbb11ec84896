#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class SettingsStorage;

// The user's own capture interface names. Names are kept as typed (trimmed); two names that differ only
// in Unicode normalisation count as the same name. Nothing is read until load(); every change through
// add() or remove() rewrites the whole list at once. Failures are silent by design: the list is a
// convenience, and the form works the same without it.
class InterfaceStore : public QObject
{
    Q_OBJECT

public:
    static constexpr auto defaultKey = "BrindlecapBuilder.CustomInterfaces.v1";

    InterfaceStore(SettingsStorage &storage, const QString &storageKey, QObject *parent = nullptr);

    const QStringList &interfaces() const { return m_interfaces; }
    QString storageKey() const { return m_key; }

    // Replaces the list with the stored one, taken exactly as stored; missing or unreadable data leaves
    // the list as it is.
    void load();
    // Adds the trimmed name, keeps the list sorted and saves; false (and no change) for a blank name or
    // one already in the list.
    bool add(const QString &name);
    // Removes every entry equal to name and saves, even when none matched.
    void remove(const QString &name);
    void save();

    // Name equality as the store sees it: canonically equivalent strings are equal, case matters.
    static bool sameName(const QString &a, const QString &b);
    // Ascending order by Unicode scalar value of the canonical (NFC) form.
    static bool lessThan(const QString &a, const QString &b);

signals:
    void changed();

private:
    SettingsStorage &m_storage;
    QString m_key;
    QStringList m_interfaces;
};
