#include "textfiledialog.h"

#include "alert.h"

#include "model/atomicfile.h"
#include "model/textfile.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace TextFileDialog {
namespace {
std::function<QString(const QString &)> chooser;
// Remembered for this run only: the application keeps no settings of its own.
QString lastDirectory;

// The last folder saved to while it exists, else Documents, else home (a fresh account may have no
// Documents, and the working directory of a desktop start is meaningless to the user).
QString startDirectory()
{
    for (const QString &candidate :
         {lastDirectory, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}) {
        if (!candidate.isEmpty() && QDir(candidate).exists())
            return candidate;
    }
    return QDir::homePath();
}

// "txt" of "Plain text (*.txt)".
QString suffixOf(const QString &nameFilter)
{
    const qsizetype star = nameFilter.indexOf(QStringLiteral("(*."));
    return star < 0 ? QString() : nameFilter.mid(star + 3).section(u')', 0, 0).section(u' ', 0, 0);
}

// Opens in startDirectory(), with fileName proposed when saving.
QString choose(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter,
               bool save)
{
    const QDir directory(startDirectory());
    if (chooser)
        return chooser(directory.filePath(fileName));
    QFileDialog dialog(parent, dialogTitle);
    dialog.setObjectName(save ? QStringLiteral("saveTextDialog") : QStringLiteral("openFileDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(nameFilter);
    dialog.setDefaultSuffix(suffixOf(nameFilter));
    dialog.setDirectory(directory);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (save)
        dialog.selectFile(directory.filePath(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString save(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter,
             const std::function<bool(const QString &path, QString *error)> &write)
{
    const QString path = askSavePath(parent, dialogTitle, fileName, nameFilter);
    if (path.isEmpty())
        return {};
    QString error;
    const bool written = write(path, &error);
    finishSave(parent, path, written ? QString() : error);
    return written ? path : QString();
}
} // namespace

QString saveText(QWidget *parent, const QString &dialogTitle, const QString &title, const QString &text)
{
    return save(parent, dialogTitle, TextFile::proposedName(title), QStringLiteral("Plain text (*.txt)"),
                [&text](const QString &path, QString *error) { return TextFile::write(path, text, error); });
}

QString saveFile(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter,
                 const QByteArray &data)
{
    return save(parent, dialogTitle, fileName, nameFilter,
                [&data](const QString &path, QString *error) { return AtomicFile::write(path, data, error); });
}

QString askSavePath(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter)
{
    QString path = choose(parent, dialogTitle, fileName, nameFilter, true);
    // A name typed without an extension gets the filter's, as every save panel does; the dialog adds the
    // chosen filter's itself.
    if (const QString suffix = suffixOf(nameFilter);
        !path.isEmpty() && !suffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + suffix;
    return path;
}

void finishSave(QWidget *parent, const QString &path, const QString &error)
{
    if (error.isEmpty()) {
        // Only a folder where saving worked is where the next save starts.
        lastDirectory = QFileInfo(path).absolutePath();
        return;
    }
    // The reason may name the file itself: then it is not said twice.
    const QString shown = QDir::toNativeSeparators(path);
    Alert::open(parent, QMessageBox::Warning, "saveErrorAlert", QStringLiteral("Could not save file"),
                error.contains(path) ? error : QStringLiteral("%1: %2").arg(shown, error), {{QMessageBox::Ok}});
}

QString openFile(QWidget *parent, const QString &dialogTitle, const QString &nameFilter)
{
    const QString path = choose(parent, dialogTitle, QString(), nameFilter, false);
    if (!path.isEmpty())
        lastDirectory = QFileInfo(path).absolutePath();
    return path;
}

void setChooserForTesting(std::function<QString(const QString &)> choose)
{
    chooser = std::move(choose);
}
} // namespace TextFileDialog
