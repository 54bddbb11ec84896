#include "pingview.h"

#include "checkcolumn.h"
#include "formgrid.h"
#include "proberows.h"

PingView::PingView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::ping, store, parent)
{
    addHeader(QStringLiteral("Ping"), QStringLiteral("Configure `exec ping-options` and issue `exec ping`. Leave a "
                                                     "field blank to omit that option."));

    ProbeRows::addDestination(addGrid(QStringLiteral("Target")), field(&PingForm::target));

    auto *options = addGrid(QStringLiteral("Ping Options"));
    ProbeRows::addSourceAndEgress(options, field(&PingForm::source), field(&PingForm::interface));
    ProbeRows::addDefaulted(options, field(&PingForm::repeatCount), QStringLiteral("Repeat Count:"), 5);
    ProbeRows::addDefaulted(options, field(&PingForm::timeout), QStringLiteral("Timeout (s):"), 2);
    ProbeRows::addDefaulted(options, field(&PingForm::dataSize), QStringLiteral("Data Size (bytes):"), 56);
    options->addText(field(&PingForm::tos), QStringLiteral("ToS / DSCP:"), QStringLiteral("numeric"));
    options->addText(field(&PingForm::pattern), QStringLiteral("Payload Pattern:"), QStringLiteral("hex, e.g. ff"));

    auto *flags = addChecks(QStringLiteral("Flags"));
    flags->addCheck(field(&PingForm::dfBit), QStringLiteral("Set DF bit (Don't Fragment)"));
    flags->addCheck(field(&PingForm::adaptive), QStringLiteral("Adaptive ping"));
    flags->addCheck(field(&PingForm::validateReply), QStringLiteral("Validate reply payload"));
    ProbeRows::addViewSettings(flags, field(&PingForm::viewSettings));
}
