#include "textfiledialog.h"

#include "model/textfile.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace TextFileDialog {

namespace {
std::function<QString(const QString &)> chooser;

QString choose(QWidget *parent, const QString &dialogTitle, const QString &proposedName)
{
    if (chooser)
        return chooser(proposedName);
    // Remembered for this run only: the application keeps no settings of its own.
    static QString lastDirectory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    QFileDialog dialog(parent, dialogTitle);
    dialog.setObjectName(QStringLiteral("saveTextDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Plain text (*.txt)"));
    if (!lastDirectory.isEmpty() && QDir(lastDirectory).exists())
        dialog.setDirectory(lastDirectory);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastDirectory = QFileInfo(path).absolutePath();
    return path;
}
} // namespace

QString saveText(QWidget *parent, const QString &dialogTitle, const QString &title, const QString &text)
{
    const QString path = choose(parent, dialogTitle, TextFile::proposedName(title));
    if (path.isEmpty())
        return {};
    QString error;
    if (!TextFile::write(path, text, &error)) {
        auto *alert = new QMessageBox(QMessageBox::Warning, QStringLiteral("Brindlecap Builder"),
                                      QStringLiteral("Could not save file"), QMessageBox::Ok, parent);
        alert->setObjectName(QStringLiteral("saveErrorAlert"));
        alert->setInformativeText(error);
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
