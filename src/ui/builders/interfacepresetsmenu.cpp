#include "interfacepresetsmenu.h"

#include "model/interfacestore.h"

const QStringList &InterfacePresetsMenu::commonNames()
{
    static const QStringList names = {QStringLiteral("any"),  QStringLiteral("port1"), QStringLiteral("port2"),
                                      QStringLiteral("wan1"), QStringLiteral("wan2"),  QStringLiteral("internal")};
    return names;
}

InterfacePresetsMenu::InterfacePresetsMenu(InterfaceStore &store, QWidget *parent)
    : QMenu(QStringLiteral("Presets"), parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("interfacePresetsMenu"));
    // The "Common" heading opens the menu and must not be dropped as a leading separator.
    setSeparatorsCollapsible(false);
    connect(&m_store, &InterfaceStore::changed, this, &InterfacePresetsMenu::rebuild);
    rebuild();
}

void InterfacePresetsMenu::setSaveCurrentEnabled(bool enabled)
{
    m_saveCurrentEnabled = enabled;
    for (QAction *action : actions()) {
        if (action->objectName() == QLatin1String("saveCurrent"))
            action->setEnabled(enabled);
    }
}

void InterfacePresetsMenu::rebuild()
{
    clear();
    addNames(QStringLiteral("Common"), commonNames());
    if (!m_store.interfaces().isEmpty())
        addNames(QStringLiteral("My Interfaces"), m_store.interfaces());
    addSeparator();

    QAction *saveCurrent = addAction(QStringLiteral("Save Current as Custom\u2026"));
    saveCurrent->setObjectName(QStringLiteral("saveCurrent"));
    saveCurrent->setEnabled(m_saveCurrentEnabled);
    connect(saveCurrent, &QAction::triggered, this, &InterfacePresetsMenu::saveCurrentRequested);

    QAction *add = addAction(QStringLiteral("Add Custom Interface\u2026"));
    add->setObjectName(QStringLiteral("addCustom"));
    connect(add, &QAction::triggered, this, &InterfacePresetsMenu::addRequested);

    if (!m_store.interfaces().isEmpty()) {
        QAction *manage = addAction(QStringLiteral("Manage Custom Interfaces\u2026"));
        manage->setObjectName(QStringLiteral("manageCustom"));
        connect(manage, &QAction::triggered, this, &InterfacePresetsMenu::manageRequested);
    }
}

void InterfacePresetsMenu::addNames(const QString &section, const QStringList &names)
{
    addSection(section);
    for (const QString &name : names) {
        // Plain text: an '&' in a saved name is part of the name, not a mnemonic.
        QString shown = name;
        QAction *action = addAction(shown.replace(u'&', QStringLiteral("&&")));
        action->setData(name);
        connect(action, &QAction::triggered, this, [this, name] { emit interfaceChosen(name); });
    }
}
