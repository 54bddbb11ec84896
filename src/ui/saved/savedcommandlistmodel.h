#pragma once

#include "model/savedcommandfilter.h"

#include <QAbstractListModel>
#include <QUuid>

class CommandStore;

// The saved commands that pass the search, in the store's order (newest first). Follows every change
// of the store. Each command's lower-cased texts are computed once per change of the store, so that
// a keystroke in the search field only searches.
class SavedCommandListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { IdRole = Qt::UserRole + 1, CategoryRole, CaptionRole };

    explicit SavedCommandListModel(CommandStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString searchText() const { return m_searchText; }
    void setSearchText(const QString &searchText);

    const SavedCommand &commandAt(int row) const;
    // The commands the list shows, in its order.
    QList<SavedCommand> commands() const;
    // The row showing the first command with this id, or -1 when it is filtered out or gone.
    int rowOf(const QUuid &id) const;

private:
    void storeChanged();
    void rebuildKeys();
    void refilter();

    CommandStore &m_store;
    QString m_searchText;
    QString m_query;
    QList<SavedCommandFilter::Key> m_keys; // one per entry of the store's list
    QList<qsizetype> m_rows;               // indexes into the store's list of the commands shown
};
