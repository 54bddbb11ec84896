#pragma once

#include <QMenu>

class InterfaceStore;

// The interface field's "Presets" menu: the common names, the user's saved names, and the entries
// that open the save and manage sheets. It follows the store as the list changes.
class InterfacePresetsMenu : public QMenu
{
    Q_OBJECT

public:
    // The names offered to everyone, in menu order.
    static const QStringList &commonNames();

    InterfacePresetsMenu(InterfaceStore &store, QWidget *parent = nullptr);

    // "Save Current as Custom…" is offered only while there is an interface to save.
    void setSaveCurrentEnabled(bool enabled);

signals:
    void interfaceChosen(const QString &name);
    void saveCurrentRequested();
    void addRequested();
    void manageRequested();

private:
    void rebuild();
    void addNames(const QString &section, const QStringList &names);

    InterfaceStore &m_store;
    bool m_saveCurrentEnabled = false;
};
