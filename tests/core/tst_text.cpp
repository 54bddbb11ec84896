#include "text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void trimmed_data();
    void trimmed();
    void toSingleLine();
};

void TestText::trimmed_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("tabs and spaces, inner kept") << QStringLiteral(" \ta\t\tb \t") << QStringLiteral("a\t\tb");
    QTest::newRow("space separators") << QStringLiteral("\u00A0\u2000\u202F\u1680x\u3000\u205F") << QStringLiteral("x");
    // Line breaks are not white space: they are kept and make the value non-blank.
    QTest::newRow("line feed kept") << QStringLiteral(" \n ") << QStringLiteral("\n");
    // Zero-width space is a format character, not a space separator.
    QTest::newRow("zero width space kept") << QStringLiteral("\u200B") << QStringLiteral("\u200B");
}

void TestText::trimmed()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(Text::trimmed(input), expected);
    QCOMPARE(Text::isNonBlank(input), !expected.isEmpty());
}

void TestText::toSingleLine()
{
    // Each break becomes one space, CR LF two, so positions are unchanged; nothing else is touched.
    QCOMPARE(Text::toSingleLine(QStringLiteral("a\r\nb\t\n\v\f\u0085\u2028\u2029 c")),
             QStringLiteral("a  b\t       c"));
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
