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
    filters->addText(QStringLiteral("src"), QStringLiteral("Source IP:"), QStringLiteral("e.g. 10.1.1.10"), m_form.src);
    filters->addText(QStringLiteral("dst"), QStringLiteral("Destination IP:"), QStringLiteral("e.g. 8.8.8.8"),
                     m_form.dst);
    filters->addText(QStringLiteral("srcPort"), QStringLiteral("Source Port:"), QStringLiteral("e.g. 54321"),
                     m_form.srcPort);
    filters->addText(QStringLiteral("dstPort"), QStringLiteral("Destination Port:"), QStringLiteral("e.g. 443"),
                     m_form.dstPort);
    filters->addPicker(QStringLiteral("proto"), QStringLiteral("Protocol:"), m_form.proto);
    filters->addText(QStringLiteral("vdom"), QStringLiteral("VDOM index:"),
                     QStringLiteral("optional numeric VDOM index"), m_form.vdom);

    auto *options = addChecks(QStringLiteral("Options"));
    options->addCheck(QStringLiteral("clearFirst"), QStringLiteral("Clear existing filter first"), m_form.clearFirst);
    options->addCheck(QStringLiteral("negate"), QStringLiteral("Negate filter (invert match)"), m_form.negate);
    options->addCheck(QStringLiteral("stats"), QStringLiteral("Include session stats"), m_form.stats);
    options->addCheck(QStringLiteral("listAtEnd"), QStringLiteral("Append `diagnose sys session list`"),
                      m_form.listAtEnd);
}
