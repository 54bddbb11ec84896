#include "categoryviewfactory.h"

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
#include "model/commandstore.h"
#include "saved/savedcommandsview.h"

namespace CategoryViewFactory {

QWidget *create(DebugCategory category, CommandStore &store, QWidget *parent)
{
    switch (category) {
    case DebugCategory::session:
        return new SessionView(store, parent);
    case DebugCategory::saved:
        return new SavedCommandsView(store, parent);
    case DebugCategory::ping:
        return new PingView(store, parent);
    case DebugCategory::traceroute:
        return new TracerouteView(store, parent);
    case DebugCategory::flow:
        return new FlowView(store, parent);
    case DebugCategory::vpn:
        return new VPNView(store, parent);
    case DebugCategory::top:
        return new SystemTopView(store, parent);
    case DebugCategory::ha:
        return new HAView(store, parent);
    case DebugCategory::routing:
        return new RoutingView(store, parent);
    case DebugCategory::sniffer:
        return new SnifferView(store, store.storage(), parent);
    default:
        break;
    }
    return new EmptyStateView(Category::icon(category), Category::title(category),
                              QStringLiteral("This category's form is not available yet."), parent);
}

} // namespace CategoryViewFactory
