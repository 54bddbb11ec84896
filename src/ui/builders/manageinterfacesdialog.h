#pragma once

#include "common/sheetdialog.h"

class InterfaceStore;
class QLabel;
class QListWidget;

// The "Custom Interfaces" sheet: the saved names, each with its delete button. It follows the store,
// so a name saved or deleted meanwhile shows at once.
class ManageInterfacesDialog : public SheetDialog
{
    Q_OBJECT

public:
    ManageInterfacesDialog(InterfaceStore &store, QWidget *parent = nullptr);

signals:
    // "Add": the caller opens the save sheet with an empty name.
    void addRequested();

private:
    void rebuild();

    InterfaceStore &m_store;
    QLabel *m_empty;
    QListWidget *m_list;
};
