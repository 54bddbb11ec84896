#include "categoryviewfactory.h"

#include "builders/categoryforms.h"
#include "builders/flowview.h"
#include "builders/haview.h"
#include "builders/pingview.h"
#include "builders/routingview.h"
#include "builders/sessionview.h"
#include "builders/snifferview.h"
#include "builders/systemtopview.h"
#include "builders/tracerouteview.h"
#include "builders/vpnview.h"
#include "common/emptystateview.h"
#include "readers/snifferoutputview.h"
#include "saved/savedcommandsview.h"

#include <type_traits>

namespace CategoryViewFactory {

QWidget *create(DebugCategory category, const Stores &stores, QWidget *parent)
{
    if (category == DebugCategory::saved)
        return new SavedCommandsView(stores.commands, parent);
    QWidget *view = nullptr;
    CategoryForms::forEach([&](auto entry) {
        using View = typename ViewOf<typename decltype(entry)::Form>::type;
        if (entry.category != category)
            return;
        if constexpr (std::is_constructible_v<View, CommandStore &, InterfaceStore &, QWidget *>)
            view = new View(stores.commands, stores.interfaces, parent);
        else
            view = new View(stores.commands, parent);
    });
    // Every category is a builder of the table or the saved-command browser.
    Q_ASSERT(view);
    return view;
}

QWidget *create(OutputReader reader, QWidget *parent)
{
    switch (reader) {
    case OutputReader::sniffer:
        return new SnifferOutputView(parent);
    case OutputReader::flow:
        // Until the debug-flow reader's view lands.
        return new EmptyStateView(QStringLiteral("arrow.left.arrow.right"), QStringLiteral("Debug Flow Output"),
                                  QStringLiteral("Not in this build yet."), parent);
    }
    Q_UNREACHABLE();
    return nullptr;
}

} // namespace CategoryViewFactory
