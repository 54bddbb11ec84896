#include "debugblocks.h"

namespace DebugBlocks {

QString timestampsLine()
{
    return QStringLiteral("diagnose debug console timestamp enable");
}

QString enableLine()
{
    return QStringLiteral("diagnose debug enable");
}

QStringList disableAndReset()
{
    return {QStringLiteral("diagnose debug disable"), QStringLiteral("diagnose debug reset")};
}

QStringList stopBlock(const QString &protocolOffLine)
{
    QStringList lines = {QString(), QStringLiteral("# When finished, stop the debug:")};
    if (!protocolOffLine.isEmpty())
        lines << protocolOffLine;
    return lines + disableAndReset();
}

} // namespace DebugBlocks
