#pragma once

#include <QString>

class CheckColumn;
class FormGrid;

// The rows the Ping and Traceroute forms have in common, declared once so the two stay alike.
namespace ProbeRows {

// The one "Destination:" row of the "Target" box.
void addDestination(FormGrid *grid, QString &target);
// The "Source IP:" and "Egress Interface:" rows that open the options box. The interface field is
// named differently per form (interface, device).
void addSourceAndEgress(FormGrid *grid, QString &source, const QString &egressName, QString &egress);
// A row whose placeholder names the appliance's own default ("default 5"); the form never fills it
// in, so a blank field sends nothing and the appliance applies its default.
void addDefaulted(FormGrid *grid, const QString &name, const QString &label, int applianceDefault, QString &field);
void addViewSettings(CheckColumn *checks, bool &viewSettings);

} // namespace ProbeRows
