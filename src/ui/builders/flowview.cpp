#include "flowview.h"

#include "checkcolumn.h"
#include "debugchecks.h"
#include "formgrid.h"
#include "readoutputrow.h"

#include <QPushButton>

FlowView::FlowView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::flow, store, parent)
{
    addHeader(QStringLiteral("Debug Flow"),
              QStringLiteral("Build a `diagnose debug flow` capture. Use address / port filters to narrow the trace, "
                             "then run the commands on the FortiGate."));

    const QString optional = QStringLiteral("optional");
    auto *filters = addGrid(QStringLiteral("Filters"));
    filters->addText(field(&FlowForm::addr), QStringLiteral("Address (either dir):"), QStringLiteral("e.g. 10.1.1.10"));
    filters->addText(field(&FlowForm::saddr), QStringLiteral("Source IP:"), optional);
    filters->addText(field(&FlowForm::daddr), QStringLiteral("Destination IP:"), optional);
    filters->addText(field(&FlowForm::port), QStringLiteral("Port (either dir):"), optional);
    filters->addText(field(&FlowForm::sport), QStringLiteral("Source Port:"), optional);
    filters->addText(field(&FlowForm::dport), QStringLiteral("Destination Port:"), optional);
    filters->addPicker(field(&FlowForm::proto), QStringLiteral("Protocol:"));
    filters->addText(field(&FlowForm::vdom), QStringLiteral("VDOM index:"), optional);
    filters->addText(field(&FlowForm::traceCount), QStringLiteral("Trace Count:"),
                     QStringLiteral("number of packets, e.g. 1000"));

    auto *options = addChecks(QStringLiteral("Options"));
    options->addCheck(field(&FlowForm::resetFirst), QStringLiteral("Reset debug state first (`disable` + `reset`)"));
    options->addCheck(field(&FlowForm::showFunctionName), QStringLiteral("Show kernel function names"));
    options->addCheck(field(&FlowForm::showIprope), QStringLiteral("Show iprope details"));
    DebugChecks::add(options, field(&FlowForm::timestamps), field(&FlowForm::includeStopBlock));

    auto *readRow = new ReadOutputRow(
        QStringLiteral("readFlowOutput"), QStringLiteral("Read Debug Flow Output"),
        QStringLiteral("Shows each traced packet as one line: its route, policy, NAT and verdict, and why."));
    connect(readRow->button(), &QPushButton::clicked, this, &FlowView::readOutputRequested);
    addBlock(readRow);
}
