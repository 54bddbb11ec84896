#include "jsontext.h"

namespace JsonText {

QJsonDocument read(const QByteArray &json, QJsonParseError *error)
{
    static constexpr char mark[] = "\xEF\xBB\xBF";
    // One starting the document is the file's own, which Qt skips as it should.
    const qsizetype from = json.startsWith(mark) ? 3 : 0;
    if (json.indexOf(mark, from) < 0)
        return QJsonDocument::fromJson(json, error);
    // Outside a string the mark is an error either way; inside one, the escape means the same.
    return QJsonDocument::fromJson(json.left(from) + json.mid(from).replace(mark, "\\ufeff"), error);
}

} // namespace JsonText
