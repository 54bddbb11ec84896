#include "textfiledialog.h"

#include "model/textfile.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace TextFileDialog {

QString saveText(QWidget *parent, const QString &dialogTitle, const QString &title, const QString &text)
{
    // Remembered for this run only: the application keeps no settings of its own.
    static QString lastDirectory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    QFileDialog dialog(parent, dialogTitle);
    dialog.setObjectName(QStringLiteral("saveTextDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Plain text (*.txt)"));
    if (!lastDirectory.isEmpty() && QDir(lastDirectory).exists())
        dialog.setDirectory(lastDirectory);
    dialog.selectFile(TextFile::proposedName(title));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};

    const QString path = dialog.selectedFiles().constFirst();
    lastDirectory = QFileInfo(path).absolutePath();
    QString error;
    if (!TextFile::write(path, text, &error)) {
        QMessageBox alert(QMessageBox::Warning, QStringLiteral("Brindlecap Builder"),
                          QStringLiteral("Could not save file"), QMessageBox::Ok, parent);
        alert.setObjectName(QStringLiteral("saveErrorAlert"));
        alert.setInformativeText(error);
        alert.exec();
        return {};
    }
    return path;
}

} // namespace TextFileDialog
