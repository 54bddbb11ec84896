#pragma once

#include <QString>

class QWidget;

// Asks where to save a text file (proposing a name built from the title), writes it atomically and
// reports a failure in a warning alert. Shared by every "Save to .txt" and "Export" action.
namespace TextFileDialog {

// Returns the path written, or an empty string when the user cancelled or the write failed.
QString saveText(QWidget *parent, const QString &dialogTitle, const QString &title, const QString &text);

} // namespace TextFileDialog
