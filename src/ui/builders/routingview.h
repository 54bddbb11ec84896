#pragma once

#include "builders/routingform.h"
#include "builderview.h"
#include "debugchecks.h"

class FormColumn;

class RoutingView : public FormView<RoutingForm>
{
    Q_OBJECT

public:
    using RouteProto = RoutingForm::RouteProto;

    explicit RoutingView(CommandStore &store, QWidget *parent = nullptr);

protected:
    void formChanged() override;

private:
    FormColumn *m_ospf = nullptr;
    FormColumn *m_bgp = nullptr;
    FormColumn *m_static = nullptr;
    DebugChecks::Pair m_ospfOptions;
    DebugChecks::Pair m_bgpOptions;
    // Only used with a neighbour address.
    QWidget *m_bgpNeighborRoutes = nullptr;
    QWidget *m_bgpAdvertisedRoutes = nullptr;
};

template <> struct ViewOf<RoutingForm> {
    using type = RoutingView;
};
