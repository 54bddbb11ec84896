#include "sessionview.h"

#include "checkcolumn.h"
#include "formgrid.h"

SessionView::SessionView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::session, store, parent)
{
    addHeader(QStringLiteral("Session Diagnostics"),
              QStringLiteral("Build `diagnose sys session filter` commands to isolate the flows you care about. "
                             "Leave any field blank to skip it."));

    auto *filters = addGrid(QStringLiteral("Filters"));
    filters->addText(field(&SessionForm::src), QStringLiteral("Source IP:"), QStringLiteral("e.g. 10.1.1.10"));
    filters->addText(field(&SessionForm::dst), QStringLiteral("Destination IP:"), QStringLiteral("e.g. 8.8.8.8"));
    filters->addText(field(&SessionForm::srcPort), QStringLiteral("Source Port:"), QStringLiteral("e.g. 54321"));
    filters->addText(field(&SessionForm::dstPort), QStringLiteral("Destination Port:"), QStringLiteral("e.g. 443"));
    filters->addPicker(field(&SessionForm::proto), QStringLiteral("Protocol:"));
    filters->addText(field(&SessionForm::vdom), QStringLiteral("VDOM index:"),
                     QStringLiteral("optional numeric VDOM index"));

    auto *options = addChecks(QStringLiteral("Options"));
    options->addCheck(field(&SessionForm::clearFirst), QStringLiteral("Clear existing filter first"));
    options->addCheck(field(&SessionForm::negate), QStringLiteral("Negate filter (invert match)"));
    options->addCheck(field(&SessionForm::stats), QStringLiteral("Include session stats"));
    options->addCheck(field(&SessionForm::listAtEnd), QStringLiteral("Append `diagnose sys session list`"));
}
