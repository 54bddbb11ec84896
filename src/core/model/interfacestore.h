#pragma once

#include "liststore.h"

#include <QString>
#include <QStringList>

#include <optional>

// The user's own capture interface names. Names are kept as typed (trimmed); two names that differ only
// in Unicode normalisation count as the same name. Nothing is read until load(); every change through
// add() or remove() rewrites the whole custom-interfaces file at once, and a failure to do so is
// reported: the names are the user's work.
class InterfaceStore : public ListStore
{
    Q_OBJECT

public:
    explicit InterfaceStore(SettingsStorage &storage, QObject *parent = nullptr);

    const QStringList &interfaces() const { return m_interfaces; }

    // Replaces the list with the stored one, taken exactly as stored; missing or unreadable data leaves
    // the list as it is (and unreadable data is copied aside before the next save replaces it).
    void load();
    // Adds the trimmed name, keeps the list sorted and saves; false (and no change) for a blank name or
    // one already in the list.
    bool add(const QString &name);
    // Removes every entry equal to name and saves, even when none matched.
    void remove(const QString &name);
    void save();
    void retrySave() override { save(); }
    QByteArray document() const override;

    // The stored form: a JSON array of strings, taken as it is; nullopt for anything else.
    static std::optional<QStringList> decode(const QByteArray &data);
    static QByteArray encode(const QStringList &names);

    // Name equality as the store sees it: canonically equivalent strings are equal, case matters.
    static bool sameName(const QString &a, const QString &b);
    // Ascending order by Unicode scalar value of the canonical (NFC) form.
    static bool lessThan(const QString &a, const QString &b);

signals:
    void changed();

private:
    QStringList m_interfaces;
};
