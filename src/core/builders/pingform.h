#pragma once

#include "formfield.h"

#include <QString>

struct PingForm {
    QString target;
    QString source;
    QString interface;
    QString repeatCount;
    QString timeout;
    QString dataSize;
    QString tos;
    QString pattern;
    bool dfBit = false;
    bool adaptive = false;
    bool validateReply = false;
    bool viewSettings = true;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<PingForm>> &fields();
};
