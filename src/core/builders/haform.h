#pragma once

#include "formfield.h"

#include <QString>

struct HAForm {
    bool showStatus = true;
    bool showChecksum = true;
    bool showNonSync = false;
    bool showDump = false;
    QString manageIndex;
    QString manageAdmin;
    bool syncAll = false;
    bool resetUptime = false;
    bool debugHatalk = false;
    bool debugHasync = false;
    bool timestamps = true;
    bool includeStopBlock = true;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<HAForm>> &fields();
};
