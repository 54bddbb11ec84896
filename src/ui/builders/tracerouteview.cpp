#include "tracerouteview.h"

#include "formgrid.h"
#include "proberows.h"

TracerouteView::TracerouteView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::traceroute, store, parent)
{
    addHeader(QStringLiteral("Traceroute"),
              QStringLiteral("Configure `exec traceroute-options` and issue `exec traceroute`."));

    ProbeRows::addDestination(addGrid(QStringLiteral("Target")), field(&TracerouteForm::target));

    auto *options = addGrid(QStringLiteral("Traceroute Options"));
    ProbeRows::addSourceAndEgress(options, field(&TracerouteForm::source), field(&TracerouteForm::device));
    ProbeRows::addDefaulted(options, field(&TracerouteForm::queries), QStringLiteral("Queries per hop:"), 3);
    ProbeRows::addDefaulted(options, field(&TracerouteForm::minTTL), QStringLiteral("Min TTL:"), 1);
    ProbeRows::addDefaulted(options, field(&TracerouteForm::maxTTL), QStringLiteral("Max TTL:"), 32);
    ProbeRows::addDefaulted(options, field(&TracerouteForm::waitTime), QStringLiteral("Wait (s):"), 3);

    ProbeRows::addViewSettings(addChecks(QStringLiteral("Flags")), field(&TracerouteForm::viewSettings));
}
