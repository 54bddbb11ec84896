#pragma once

#include "formfield.h"

#include <QString>

struct SystemTopForm {
    enum class Variant { top, topSummary, topMem, topIO };

    Variant variant = Variant::top;
    QString delay;
    QString maxLines;
    bool addPerfStatus = true;
    bool addPerfTop = false;
    bool addSysinfoMem = false;
    bool addSysinfoCPU = false;
    bool addSysinfoInterrupts = false;
    bool addSysinfoShm = false;
    bool addConserveMode = false;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<SystemTopForm>> &fields();
};

struct SystemTopVariantInfo {
    std::string_view description; // shown as plain text: its back-quotes are part of the text
    bool usesDelay;
};

template <> struct EnumTraits<SystemTopForm::Variant> {
    using V = SystemTopForm::Variant;
    using Case = EnumCase<V, SystemTopVariantInfo>; // raw value: the command itself
    static constexpr std::array cases = {
        Case{V::top,
             "top",
             "diagnose sys top",
             {"Interactive top of running processes. Press `p` (sort by CPU), `m` (memory), `q` (quit) while running.",
              true}},
        Case{V::topSummary,
             "topSummary",
             "diagnose sys top-summary",
             {"Refreshing summary \u2014 like `top` but also shows total process count grouped by state.", true}},
        Case{V::topMem,
             "topMem",
             "diagnose sys top-mem",
             {"Snapshot sorted by memory usage. Useful for diagnosing memory leaks.", false}},
        Case{V::topIO,
             "topIO",
             "diagnose sys top-io",
             {"Sorted by I/O usage (disk / flash). Available on FortiOS versions with I/O accounting.", true}},
    };
};
