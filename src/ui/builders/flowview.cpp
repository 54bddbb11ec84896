#include "flowview.h"

#include "checkcolumn.h"
#include "formgrid.h"

FlowView::FlowView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::flow, store, parent)
{
    addHeader(QStringLiteral("Debug Flow"),
              QStringLiteral("Build a `diagnose debug flow` capture. Use address / port filters to narrow the trace, "
                             "then run the commands on the FortiGate."));

    const QString optional = QStringLiteral("optional");
    auto *filters = addGrid(QStringLiteral("Filters"));
    filters->addText(QStringLiteral("addr"), QStringLiteral("Address (either dir):"), QStringLiteral("e.g. 10.1.1.10"),
                     m_form.addr);
    filters->addText(QStringLiteral("saddr"), QStringLiteral("Source IP:"), optional, m_form.saddr);
    filters->addText(QStringLiteral("daddr"), QStringLiteral("Destination IP:"), optional, m_form.daddr);
    filters->addText(QStringLiteral("port"), QStringLiteral("Port (either dir):"), optional, m_form.port);
    filters->addText(QStringLiteral("sport"), QStringLiteral("Source Port:"), optional, m_form.sport);
    filters->addText(QStringLiteral("dport"), QStringLiteral("Destination Port:"), optional, m_form.dport);
    filters->addPicker(QStringLiteral("proto"), QStringLiteral("Protocol:"), m_form.proto);
    filters->addText(QStringLiteral("vdom"), QStringLiteral("VDOM index:"), optional, m_form.vdom);
    filters->addText(QStringLiteral("traceCount"), QStringLiteral("Trace Count:"),
                     QStringLiteral("number of packets, e.g. 1000"), m_form.traceCount);

    auto *options = addChecks(QStringLiteral("Options"));
    options->addCheck(QStringLiteral("resetFirst"), QStringLiteral("Reset debug state first (`disable` + `reset`)"),
                      m_form.resetFirst);
    options->addCheck(QStringLiteral("showFunctionName"), QStringLiteral("Show kernel function names"),
                      m_form.showFunctionName);
    options->addCheck(QStringLiteral("showIprope"), QStringLiteral("Show iprope details"), m_form.showIprope);
    options->addCheck(QStringLiteral("timestamps"), QStringLiteral("Enable console timestamps"), m_form.timestamps);
    options->addCheck(QStringLiteral("includeStopBlock"), QStringLiteral("Append stop-debug block"),
                      m_form.includeStopBlock);
}
