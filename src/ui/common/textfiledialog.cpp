#include "textfiledialog.h"

#include "model/textfile.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
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

QString choose(QWidget *parent, const QString &dialogTitle, const QString &proposedPath)
{
    if (chooser)
        return chooser(proposedPath);
    QFileDialog dialog(parent, dialogTitle);
    dialog.setObjectName(QStringLiteral("saveTextDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Plain text (*.txt)"));
    dialog.setDirectory(QFileInfo(proposedPath).absolutePath());
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString saveText(QWidget *parent, const QString &dialogTitle, const QString &title, const QString &text)
{
    const QString path = choose(parent, dialogTitle, QDir(startDirectory()).filePath(TextFile::proposedName(title)));
    if (path.isEmpty())
        return {};
    lastDirectory = QFileInfo(path).absolutePath();
    QString error;
    if (!TextFile::write(path, text, &error)) {
        auto *alert = new QMessageBox(QMessageBox::Warning, QStringLiteral("Brindlecap Builder"),
                                      QStringLiteral("Could not save file"), QMessageBox::Ok, parent);
        alert->setObjectName(QStringLiteral("saveErrorAlert"));
        alert->setInformativeText(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error));
        alert->setAttribute(Qt::WA_DeleteOnClose);
        alert->open();
        return {};
    }
    return path;
}

void setChooserForTesting(std::function<QString(const QString &)> choose)
{
    chooser = std::move(choose);
}
} // namespace TextFileDialog
