#include "textfile.h"

#include "atomicfile.h"

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
    return AtomicFile::write(path, text.toUtf8(), error);
}

} // namespace TextFile
