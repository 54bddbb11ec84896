#include "textfile.h"

#include <QSaveFile>

namespace TextFile {

QString proposedName(const QString &title)
{
    QString name = title;
    name.replace(u'/', u'-');
    name.replace(u' ', u'_');
    return name + QStringLiteral(".txt");
}

bool write(const QString &path, const QString &text, QString *error)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace TextFile
