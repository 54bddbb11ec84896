#include "savedcommandlistmodel.h"

#include "model/commandstore.h"
#include "savedcommandcaption.h"

SavedCommandListModel::SavedCommandListModel(CommandStore &store, QObject *parent)
    : QAbstractListModel(parent)
    , m_store(store)
{
    connect(&m_store, &CommandStore::changed, this, &SavedCommandListModel::storeChanged);
    rebuildKeys();
    refilter();
}

int SavedCommandListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SavedCommandListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const SavedCommand &command = commandAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return command.title;
    case IdRole:
        return command.id;
    case CategoryRole:
        return int(command.category);
    case CaptionRole:
        return SavedCommandCaption::text(command);
    default:
        return {};
    }
}

void SavedCommandListModel::setSearchText(const QString &searchText)
{
    m_searchText = searchText;
    const QString query = SavedCommandFilter::query(searchText);
    if (query == m_query)
        return;
    m_query = query;
    beginResetModel();
    refilter();
    endResetModel();
}

QList<SavedCommand> SavedCommandListModel::commands() const
{
    QList<SavedCommand> shown;
    for (int row = 0; row < rowCount(); ++row)
        shown << commandAt(row);
    return shown;
}

const SavedCommand &SavedCommandListModel::commandAt(int row) const
{
    return m_store.commands().at(m_rows.at(row));
}

int SavedCommandListModel::rowOf(const QUuid &id) const
{
    const QList<SavedCommand> &commands = m_store.commands();
    for (qsizetype row = 0; row < m_rows.size(); ++row) {
        if (commands.at(m_rows.at(row)).id == id)
            return int(row);
    }
    return -1;
}

void SavedCommandListModel::storeChanged()
{
    beginResetModel();
    rebuildKeys();
    refilter();
    endResetModel();
}

void SavedCommandListModel::rebuildKeys()
{
    const QList<SavedCommand> &commands = m_store.commands();
    m_keys.clear();
    m_keys.reserve(commands.size());
    for (const SavedCommand &command : commands)
        m_keys.append(SavedCommandFilter::key(command));
}

void SavedCommandListModel::refilter()
{
    m_rows.clear();
    m_rows.reserve(m_keys.size());
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (SavedCommandFilter::matches(m_keys.at(i), m_query))
            m_rows.append(i);
    }
}
