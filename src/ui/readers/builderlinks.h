#pragma once

#include "builders/filledform.h"
#include "readers/readerforms.h"

#include <QObject>

#include <functional>
#include <optional>

class QAbstractItemView;
class QAction;
class QModelIndex;
class QWidget;

// From a packet a reader shows to the next command: "Debug Flow for This Packet" and "Sniffer Command
// for This Packet", in the table's context menu (their keys work while the table has the focus) and
// on buttons beside the packet's details, each open its form filled with the packet's conversation. Both
// are disabled while the current row gives no forms.
class BuilderLinks : public QObject
{
    Q_OBJECT

public:
    // The forms of a row, nothing where it gives none.
    using Forms = std::function<std::optional<ReaderForms>(const QModelIndex &)>;

    // Puts both actions on the table (after its model is set), asking forms about its current row as it
    // changes. The links belong to the table.
    static BuilderLinks *install(QAbstractItemView *table, Forms forms);

    QAction *flowAction() const { return m_flow; }
    QAction *snifferAction() const { return m_sniffer; }
    // Buttons for both actions, to place beside the packet's details.
    QWidget *createButtons(QWidget *parent) const;
    // Asks again about the current row: for a view whose rows give forms only once something else is
    // ready (the sniffer reader's bytes, at the end of the reading).
    void update();

    // Shows the form in the main window that holds from; nothing outside one.
    static void open(const QWidget *from, const FilledForm &form);

private:
    BuilderLinks(QAbstractItemView *table, Forms forms);
    void openCurrent(bool flow);

    QAbstractItemView *m_table;
    Forms m_forms;
    QAction *m_flow;
    QAction *m_sniffer;
};
