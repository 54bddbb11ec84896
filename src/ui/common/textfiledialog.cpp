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
    dialog.setDirectory(directory);
    if (save)
        dialog.selectFile(directory.filePath(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString save(QWidget *parent, const QString &dialogTitle, const QString &fileName, const QString &nameFilter,
             const std::function<bool(const QString &path, QString *error)> &write)
{
    const QString path = choose(parent, dialogTitle, fileName, nameFilter, true);
    if (path.isEmpty())
        return {};
    lastDirectory = QFileInfo(path).absolutePath();
    QString error;
    if (!write(path, &error)) {
        Alert::open(parent, QMessageBox::Warning, "saveErrorAlert", QStringLiteral("Could not save file"),
                    QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error), {{QMessageBox::Ok}});
        return {};
    }
    return path;
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
