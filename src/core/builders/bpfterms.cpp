#include "bpfterms.h"

#include "text.h"

#include <QStringList>

namespace BpfTerms {

QString portTerm(const QString &portList, const QString &portWords)
{
    QStringList terms;
    for (const QString &piece : Text::trimmed(portList).split(u',', Qt::SkipEmptyParts)) {
        const QString port = Text::trimmed(piece);
        if (!port.isEmpty())
            terms << portWords + u' ' + port;
    }
    if (terms.isEmpty())
        return {};
    if (terms.size() == 1)
        return terms.first();
    return u'(' + terms.join(QStringLiteral(" or ")) + u')';
}

} // namespace BpfTerms
