#pragma once

#include "formfield.h"

#include <QString>

struct TracerouteForm {
    QString target;
    QString source;
    QString device;
    QString queries;
    QString minTTL;
    QString maxTTL;
    QString waitTime;
    bool viewSettings = true;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<TracerouteForm>> &fields();
};
