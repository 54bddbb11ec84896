#include "manageinterfacesdialog.h"

#include "common/icons.h"
#include "common/style.h"
#include "model/interfacestore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int minimumListHeight = 160;
constexpr int maximumListHeight = 320;
} // namespace

ManageInterfacesDialog::ManageInterfacesDialog(InterfaceStore &store, QWidget *parent)
    : SheetDialog(QStringLiteral("Custom Interfaces"), 420, parent)
    , m_store(store)
    , m_empty(new QLabel(QStringLiteral("No custom interfaces saved."), this))
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("manageInterfacesDialog"));

    m_empty->setObjectName(QStringLiteral("noInterfaces"));
    m_empty->setTextFormat(Qt::PlainText);
    m_empty->setAlignment(Qt::AlignCenter);
    Style::setSecondary(m_empty);
    column()->addWidget(m_empty);

    m_list->setObjectName(QStringLiteral("interfaceList"));
    m_list->setAccessibleName(QStringLiteral("Custom Interfaces"));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    column()->addWidget(m_list);

    auto *add = new QPushButton(Icons::symbol(QStringLiteral("plus")), QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("add"));
    // Return belongs to "Done" even after "Add" was clicked.
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &ManageInterfacesDialog::addRequested);
    QPushButton *done = addButtons(QStringLiteral("Done"), false, add);
    done->setObjectName(QStringLiteral("done"));

    connect(&m_store, &InterfaceStore::changed, this, &ManageInterfacesDialog::rebuild);
    rebuild();
}

void ManageInterfacesDialog::rebuild()
{
    // Row widgets are released with deleteLater, so a delete button may clear the list it sits in.
    m_list->clear();
    const QStringList &names = m_store.interfaces();
    m_empty->setVisible(names.isEmpty());
    m_list->setVisible(!names.isEmpty());

    int height = 2 * m_list->frameWidth();
    for (const QString &name : names) {
        auto *row = new QWidget(m_list);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(8, 2, 4, 2);
        auto *label = new QLabel(name, row);
        label->setObjectName(QStringLiteral("interfaceName"));
        label->setTextFormat(Qt::PlainText);
        Style::setMonospaced(label);
        auto *remove = new QToolButton(row);
        remove->setObjectName(QStringLiteral("remove"));
        remove->setIcon(Icons::symbol(QStringLiteral("trash")));
        remove->setAutoRaise(true);
        remove->setToolTip(QStringLiteral("Delete"));
        remove->setAccessibleName(QStringLiteral("Delete %1").arg(name));
        connect(remove, &QToolButton::clicked, this, [this, name] { m_store.remove(name); });
        layout->addWidget(label, 1);
        layout->addWidget(remove);

        auto *item = new QListWidgetItem(m_list);
        item->setSizeHint(row->sizeHint());
        m_list->setItemWidget(item, row);
        height += row->sizeHint().height();
    }
    m_list->setFixedHeight(std::clamp(height, minimumListHeight, maximumListHeight));
}
