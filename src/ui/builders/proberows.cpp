#include "proberows.h"

#include "checkcolumn.h"
#include "formgrid.h"

namespace ProbeRows {

void addDestination(FormGrid *grid, QString &target)
{
    grid->addText(QStringLiteral("target"), QStringLiteral("Destination:"), QStringLiteral("host or IP, e.g. 8.8.8.8"),
                  target);
}

void addSourceAndEgress(FormGrid *grid, QString &source, const QString &egressName, QString &egress)
{
    grid->addText(QStringLiteral("source"), QStringLiteral("Source IP:"), QStringLiteral("optional source IP"), source);
    grid->addText(egressName, QStringLiteral("Egress Interface:"), QStringLiteral("e.g. port1, wan1"), egress);
}

void addDefaulted(FormGrid *grid, const QString &name, const QString &label, int applianceDefault, QString &field)
{
    grid->addText(name, label, QStringLiteral("default %1").arg(applianceDefault), field);
}

void addViewSettings(CheckColumn *checks, bool &viewSettings)
{
    checks->addCheck(QStringLiteral("viewSettings"), QStringLiteral("Show effective settings (`view-settings`)"),
                     viewSettings);
}

} // namespace ProbeRows
