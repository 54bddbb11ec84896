#pragma once

#include <QByteArrayView>
#include <QString>

namespace HexDump {

// Bytes as Wireshark shows them: per line of 16, the offset, the bytes in hex in two groups of 8, and
// the bytes as ASCII with a dot for anything unprintable.
QString text(QByteArrayView bytes);

} // namespace HexDump
