#include "text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void trimmed_data();
    void trimmed();
    void toSingleLine_data();
    void toSingleLine();
    void joinLines();
};

void TestText::trimmed_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("nonBlank");

    QTest::newRow("empty") << QString() << QString() << false;
    QTest::newRow("spaces and tabs") << QStringLiteral(" \t \t") << QString() << false;
    QTest::newRow("plain") << QStringLiteral("10.1.1.10") << QStringLiteral("10.1.1.10") << true;
    QTest::newRow("surrounding space") << QStringLiteral(" a b ") << QStringLiteral("a b") << true;
    QTest::newRow("no-break space") << QStringLiteral("\u00A0x\u00A0") << QStringLiteral("x") << true;
    QTest::newRow("ideographic space") << QStringLiteral("\u3000x\u3000") << QStringLiteral("x") << true;
    QTest::newRow("en quad .. hair space") << QStringLiteral("\u2000\u2005\u200Ax") << QStringLiteral("x") << true;
    QTest::newRow("narrow nbsp, math space, ogham")
        << QStringLiteral("\u202F\u205F\u1680x") << QStringLiteral("x") << true;
    QTest::newRow("only Zs") << QStringLiteral("\u00A0\u3000\u2003") << QString() << false;
    // Line breaks are not white space: they are kept and make the value non-blank.
    QTest::newRow("line feed kept") << QStringLiteral(" \n ") << QStringLiteral("\n") << true;
    QTest::newRow("carriage return kept") << QStringLiteral("x\r") << QStringLiteral("x\r") << true;
    QTest::newRow("line separator kept") << QStringLiteral("\u2028") << QStringLiteral("\u2028") << true;
    QTest::newRow("vertical tab kept") << QStringLiteral("\v") << QStringLiteral("\v") << true;
    // Zero-width space is a format character, not a space separator.
    QTest::newRow("zero width space kept") << QStringLiteral("\u200B") << QStringLiteral("\u200B") << true;
    QTest::newRow("inner white space kept") << QStringLiteral("\ta\t\tb\t") << QStringLiteral("a\t\tb") << true;
}

void TestText::trimmed()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(bool, nonBlank);
    QCOMPARE(Text::trimmed(input), expected);
    QCOMPARE(Text::isNonBlank(input), nonBlank);
}

void TestText::toSingleLine_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("untouched") << QStringLiteral("10.0.0.1\t x") << QStringLiteral("10.0.0.1\t x");
    QTest::newRow("pasted command") << QStringLiteral("10.0.0.1\nexecute reboot")
                                    << QStringLiteral("10.0.0.1 execute reboot");
    QTest::newRow("crlf is two spaces") << QStringLiteral("a\r\nb") << QStringLiteral("a  b");
    QTest::newRow("every break") << QStringLiteral("\n\r\v\f\u0085\u2028\u2029") << QStringLiteral("       ");
}

void TestText::toSingleLine()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(Text::toSingleLine(input), expected);
}

void TestText::joinLines()
{
    QCOMPARE(Text::joinLines({}), QString());
    QCOMPARE(Text::joinLines({QStringLiteral("a")}), QStringLiteral("a"));
    QCOMPARE(Text::joinLines({QStringLiteral("a"), QString(), QStringLiteral("b")}), QStringLiteral("a\n\nb"));
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
