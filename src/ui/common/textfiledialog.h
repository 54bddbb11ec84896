#pragma once

#include <QByteArray>
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
// The same for any bytes, under fileName, offering files of nameFilter ("Saved commands (*.json)").
QString saveFile(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter,
                 const QByteArray &data);
// saveFile in two steps, for a write that runs in the background: the path to write (with the chosen
// filter's extension when the name has none; empty on Cancel), and once written, error empty or why it
// failed, which is shown as saveFile shows it. nameFilter may hold several filters, ";;" between.
QString askSavePath(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter);
void finishSave(QWidget *parent, const QString &path, const QString &error);
// Asks for an existing file of nameFilter to open, starting where saving would; empty on Cancel.
QString openFile(QWidget *parent, const QString &dialogTitle, const QString &nameFilter);

// Test seam: choose answers in place of the file dialog, given the proposed path (start folder and
// file name); an empty answer is Cancel. An empty function shows the dialog again.
void setChooserForTesting(std::function<QString(const QString &proposedName)> choose);

} // namespace TextFileDialog
