#pragma once

#include <QString>
#include <QStringList>

// Lines that every form switching on debug output shares, so that the wording cannot drift
// between categories.
namespace DebugBlocks {

QString timestampsLine();
QString enableLine();

// Switches debug output off and clears every debug setting.
QStringList disableAndReset();

// Appended after "diagnose debug enable" to switch the debug off again when the user is done. A
// protocol that was switched on separately (routing daemons) names its own off line, which comes
// before the common ones.
QStringList stopBlock(const QString &protocolOffLine = QString());

} // namespace DebugBlocks
