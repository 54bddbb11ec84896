#pragma once

#include "formfield.h"

#include <QString>

struct VPNForm {
    QString gatewayName;
    QString tunnelName;
    QString peerIP;
    QString ikeDebugLevel = QStringLiteral("-1");
    bool timestamps = true;
    bool includeStopBlock = true;
    bool showTunnelStatus = true;

    QString generatedCommand() const;
    QString title() const;

    static const QList<FormField<VPNForm>> &fields();
};
