#pragma once

#include <QString>

#include <functional>

class QWidget;

// Asks where to save a text file (proposing a name built from the title), writes it atomically and
// reports a failure in a warning alert. Shared by every "Save to .txt" and "Export" action.
namespace TextFileDialog {

// Starts in the folder last saved to in this run, else Documents, else home. Returns the path
// written, or an empty string when the user cancelled or the write failed. A failure, naming the file,
// is shown in a window-modal alert that does not block the caller.
QString saveText(QWidget *parent, const QString &dialogTitle, const QString &title, const QString &text);

// Test seam: choose answers in place of the file dialog, given the proposed path (start folder and
// file name); an empty answer is Cancel. An empty function shows the dialog again.
void setChooserForTesting(std::function<QString(const QString &proposedName)> choose);

} // namespace TextFileDialog
