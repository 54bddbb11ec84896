#include "pingview.h"

#include "checkcolumn.h"
#include "formgrid.h"
#include "proberows.h"

PingView::PingView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::ping, store, parent)
{
    addHeader(QStringLiteral("Ping"), QStringLiteral("Configure `exec ping-options` and issue `exec ping`. Leave a "
                                                     "field blank to omit that option."));

    ProbeRows::addDestination(addGrid(QStringLiteral("Target")), m_form.target);

    auto *options = addGrid(QStringLiteral("Ping Options"));
    ProbeRows::addSourceAndEgress(options, m_form.source, QStringLiteral("interface"), m_form.interface);
    ProbeRows::addDefaulted(options, QStringLiteral("repeatCount"), QStringLiteral("Repeat Count:"), 5,
                            m_form.repeatCount);
    ProbeRows::addDefaulted(options, QStringLiteral("timeout"), QStringLiteral("Timeout (s):"), 2, m_form.timeout);
    ProbeRows::addDefaulted(options, QStringLiteral("dataSize"), QStringLiteral("Data Size (bytes):"), 56,
                            m_form.dataSize);
    options->addText(QStringLiteral("tos"), QStringLiteral("ToS / DSCP:"), QStringLiteral("numeric"), m_form.tos);
    options->addText(QStringLiteral("pattern"), QStringLiteral("Payload Pattern:"), QStringLiteral("hex, e.g. ff"),
                     m_form.pattern);

    auto *flags = addChecks(QStringLiteral("Flags"));
    flags->addCheck(QStringLiteral("dfBit"), QStringLiteral("Set DF bit (Don't Fragment)"), m_form.dfBit);
    flags->addCheck(QStringLiteral("adaptive"), QStringLiteral("Adaptive ping"), m_form.adaptive);
    flags->addCheck(QStringLiteral("validateReply"), QStringLiteral("Validate reply payload"), m_form.validateReply);
    ProbeRows::addViewSettings(flags, m_form.viewSettings);
}
