#include "tracerouteview.h"

#include "formgrid.h"
#include "proberows.h"

TracerouteView::TracerouteView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::traceroute, store, parent)
{
    addHeader(QStringLiteral("Traceroute"),
              QStringLiteral("Configure `exec traceroute-options` and issue `exec traceroute`."));

    ProbeRows::addDestination(addGrid(QStringLiteral("Target")), m_form.target);

    auto *options = addGrid(QStringLiteral("Traceroute Options"));
    ProbeRows::addSourceAndEgress(options, m_form.source, QStringLiteral("device"), m_form.device);
    ProbeRows::addDefaulted(options, QStringLiteral("queries"), QStringLiteral("Queries per hop:"), 3, m_form.queries);
    ProbeRows::addDefaulted(options, QStringLiteral("minTTL"), QStringLiteral("Min TTL:"), 1, m_form.minTTL);
    ProbeRows::addDefaulted(options, QStringLiteral("maxTTL"), QStringLiteral("Max TTL:"), 32, m_form.maxTTL);
    ProbeRows::addDefaulted(options, QStringLiteral("waitTime"), QStringLiteral("Wait (s):"), 3, m_form.waitTime);

    ProbeRows::addViewSettings(addChecks(QStringLiteral("Flags")), m_form.viewSettings);
}
