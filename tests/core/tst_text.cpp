#include "text.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The trimming rule is checked over every field of every form by tst_builders; here what no field shows.
class TestText : public QObject
{
    Q_OBJECT

private slots:
    void lineBreaks()
    {
        // Line breaks are not white space: they are kept and make the value non-blank.
        QVERIFY(Text::isNonBlank(u" \n "_s));
        // Each break becomes one space, CR LF two, so positions are unchanged; nothing else is touched.
        QCOMPARE(Text::toSingleLine(u"a\r\nb\t\n\v\f\u0085\u2028\u2029 c"_s), u"a  b\t       c"_s);
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
