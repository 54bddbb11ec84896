#pragma once

#include "flowtrace.h"

#include <QList>
#include <QString>

// What a trace means in plain words, for the window and the terminal alike: for its verdict (each drop
// reason), and for each notable thing it shows (a policy route or SD-WAN rule, a VIP, source NAT, an
// existing session, a tunnel, inspection, offload, delivery to the FortiGate itself), one or two
// sentences on what it means and what to check next. Written for this program; one table.
namespace FlowExplanations {

struct Note {
    QString title;
    QString text;
};

// The verdict's note first, then the others in the order of the processing. Facts of the trace (its
// interfaces, its policy id) are named in the text where they help.
QList<Note> forTrace(const FlowTrace &trace);

} // namespace FlowExplanations
