#include "builderlinks.h"

#include "app/contentview.h"
#include "model/navigationstate.h"

#include <QAbstractItemView>
#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>

BuilderLinks::BuilderLinks(QAbstractItemView *table, Forms forms)
    : QObject(table)
    , m_table(table)
    , m_forms(std::move(forms))
    , m_flow(new QAction(QStringLiteral("Debug Flow for This Packet"), table))
    , m_sniffer(new QAction(QStringLiteral("Sniffer Command for This Packet"), table))
{
    m_flow->setObjectName(QStringLiteral("debugFlowForPacket"));
    m_sniffer->setObjectName(QStringLiteral("snifferForPacket"));
    m_flow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    m_sniffer->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    for (QAction *action : {m_flow, m_sniffer}) {
        // Only in the reader that has the focus: both readers stay in the window.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        table->addAction(action);
    }
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_flow, &QAction::triggered, this, [this] { openCurrent(true); });
    connect(m_sniffer, &QAction::triggered, this, [this] { openCurrent(false); });

    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &BuilderLinks::update);
    connect(table->model(), &QAbstractItemModel::modelReset, this, &BuilderLinks::update);
    connect(table->model(), &QAbstractItemModel::layoutChanged, this, &BuilderLinks::update);
    update();
}

BuilderLinks *BuilderLinks::install(QAbstractItemView *table, Forms forms)
{
    return new BuilderLinks(table, std::move(forms));
}

QWidget *BuilderLinks::createButtons(QWidget *parent) const
{
    auto *buttons = new QWidget(parent);
    buttons->setObjectName(QStringLiteral("builderLinks"));
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    for (QAction *action : {m_flow, m_sniffer}) {
        auto *button = new QToolButton(buttons);
        button->setObjectName(action->objectName() + QStringLiteral("Button"));
        button->setDefaultAction(action);
        button->setAccessibleName(action->text());
        row->addWidget(button);
    }
    return buttons;
}

void BuilderLinks::update()
{
    const QModelIndex current = m_table->currentIndex();
    const bool enabled = current.isValid() && m_forms(current).has_value();
    const QString why = current.isValid()
                            ? QStringLiteral("Only for an IPv4 or IPv6 packet whose addresses and ports were read.")
                            : QStringLiteral("Select a packet first.");
    m_flow->setEnabled(enabled);
    m_sniffer->setEnabled(enabled);
    m_flow->setToolTip(enabled ? QStringLiteral("Opens the Debug Flow form filled with this packet's addresses, ports "
                                                "and protocol (%1).")
                                     .arg(m_flow->shortcut().toString(QKeySequence::NativeText))
                               : why);
    m_sniffer->setToolTip(enabled
                              ? QStringLiteral("Opens the Sniffer form filtered on this packet's conversation (%1).")
                                    .arg(m_sniffer->shortcut().toString(QKeySequence::NativeText))
                              : why);
}

void BuilderLinks::openCurrent(bool flow)
{
    // Asked again: the row may have changed since the action was enabled.
    const QModelIndex current = m_table->currentIndex();
    const std::optional<ReaderForms> forms = current.isValid() ? m_forms(current) : std::nullopt;
    if (forms)
        open(m_table, flow ? FilledForm::of(forms->flow) : FilledForm::of(forms->sniffer));
}

void BuilderLinks::open(const QWidget *from, const FilledForm &form)
{
    for (const QWidget *w = from; w; w = w->parentWidget()) {
        if (auto *content = qobject_cast<const ContentView *>(w)) {
            content->navigation().openForm(form);
            return;
        }
    }
}
