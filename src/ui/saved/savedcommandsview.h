#pragma once

#include "model/savedcommand.h"

#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class CommandStore;
class EmptyStateView;
class QLineEdit;
class QListView;
class QStackedWidget;
class QToolButton;
class SavedCommandDetail;
class SavedCommandListModel;

// The Saved Commands category: a searchable list of the saved commands beside the detail of the
// selected one. The selection is kept as an id, so it survives a search that hides its row and a
// change of the store; an id that is no longer in the store shows "Select a Saved Command".
class SavedCommandsView : public QWidget
{
    Q_OBJECT

public:
    explicit SavedCommandsView(CommandStore &store, QWidget *parent = nullptr);

    std::optional<QUuid> selection() const { return m_selection; }
    void setSelection(std::optional<QUuid> id);

    // The actions of the list's context menu and of the detail pane.
    void copyCommand(const SavedCommand &command);
    void exportCommand(const SavedCommand &command);
    void confirmDelete(const SavedCommand &command);

    // True when the view may show something else now; else asks whether to save the edit still
    // open in the detail, and runs then once it is saved or discarded (never on Cancel).
    bool mayLeave(const std::function<void()> &then);

    QLineEdit *searchField() const { return m_search; }
    QListView *list() const { return m_list; }
    SavedCommandListModel *model() const { return m_model; }
    SavedCommandDetail *detail() const { return m_detail; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(const QPoint &position);
    QToolButton *createLibraryButton();
    void listSelectionChanged();
    void modelReset();
    void syncListSelection();
    void updateListState();
    void updateDetail();

    CommandStore &m_store;
    std::optional<QUuid> m_selection;
    bool m_syncing = false;

    SavedCommandListModel *m_model;
    QLineEdit *m_search;
    QStackedWidget *m_listStack;
    QListView *m_list;
    EmptyStateView *m_noCommands;
    EmptyStateView *m_noMatches;
    QStackedWidget *m_detailStack;
    EmptyStateView *m_noSelection;
    SavedCommandDetail *m_detail;
};
