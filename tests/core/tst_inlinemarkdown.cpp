#include "help/inlinemarkdown.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Spans = QList<InlineSpan>;
Q_DECLARE_METATYPE(Spans)

namespace {
InlineSpan plain(const QString &t)
{
    return {t, false, false, false};
}
InlineSpan bold(const QString &t)
{
    return {t, true, false, false};
}
InlineSpan italic(const QString &t)
{
    return {t, false, true, false};
}
InlineSpan code(const QString &t)
{
    return {t, false, false, true};
}
InlineSpan boldCode(const QString &t)
{
    return {t, true, false, true};
}
InlineSpan boldItalic(const QString &t)
{
    return {t, true, true, false};
}

QString describe(const Spans &spans)
{
    QStringList parts;
    for (const InlineSpan &s : spans)
        parts << u"%1%2%3[%4]"_s.arg(s.bold ? u"B"_s : QString(), s.italic ? u"I"_s : QString(),
                                     s.code ? u"C"_s : QString(), s.text);
    return parts.join(u' ');
}
} // namespace

class TestInlineMarkdown : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void plainText_data();
    void plainText();
    void manyUnclosedOpenersStayText();
};

void TestInlineMarkdown::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Spans>("expected");

    QTest::newRow("plain") << u"Any command you save"_s << Spans{plain(u"Any command you save"_s)};
    QTest::newRow("empty") << QString() << Spans{};
    QTest::newRow("bold") << u"appends a **stop-debug block** by default"_s
                          << Spans{plain(u"appends a "_s), bold(u"stop-debug block"_s), plain(u" by default"_s)};
    QTest::newRow("italic") << u"show everything that does *not* match"_s
                            << Spans{plain(u"show everything that does "_s), italic(u"not"_s), plain(u" match"_s)};
    QTest::newRow("code") << u"check with `diagnose sys vd list`."_s
                          << Spans{plain(u"check with "_s), code(u"diagnose sys vd list"_s), plain(u"."_s)};
    QTest::newRow("adjacent code spans") << u"Verbose levels (`0`–`6`)"_s
                                         << Spans{plain(u"Verbose levels ("_s), code(u"0"_s), plain(u"–"_s),
                                                  code(u"6"_s), plain(u")"_s)};
    QTest::newRow("bold then code") << u"**Copy** (`⇧⌘C`) — places"_s
                                    << Spans{bold(u"Copy"_s), plain(u" ("_s), code(u"⇧⌘C"_s), plain(u") — places"_s)};
    QTest::newRow("bold around code") << u"**`⌘Q`** — Quit the app."_s
                                      << Spans{boldCode(u"⌘Q"_s), plain(u" — Quit the app."_s)};
    QTest::newRow("code inside bold text")
        << u"**Append `session list`** — dump"_s
        << Spans{bold(u"Append "_s), boldCode(u"session list"_s), plain(u" — dump"_s)};
    QTest::newRow("asterisks inside code")
        << u"run `a**b*c` now"_s << Spans{plain(u"run "_s), code(u"a**b*c"_s), plain(u" now"_s)};
    QTest::newRow("bold markers inside code do not close bold")
        << u"**x `**` y**"_s << Spans{bold(u"x "_s), boldCode(u"**"_s), bold(u" y"_s)};
    QTest::newRow("angle brackets inside code")
        << u"usually `<phase1>_P2` or"_s << Spans{plain(u"usually "_s), code(u"<phase1>_P2"_s), plain(u" or"_s)};
    QTest::newRow("angle brackets outside code") << u"a <b>c</b> & d"_s << Spans{plain(u"a <b>c</b> & d"_s)};
    QTest::newRow("italic inside bold") << u"**a *b* c**"_s << Spans{bold(u"a "_s), boldItalic(u"b"_s), bold(u" c"_s)};
    QTest::newRow("bold inside italic") << u"*a **b** c*"_s
                                        << Spans{italic(u"a "_s), boldItalic(u"b"_s), italic(u" c"_s)};
    QTest::newRow("triple stars") << u"***x***"_s << Spans{boldItalic(u"x"_s)};
    QTest::newRow("two bold spans") << u"**Copy** / **Export to .txt** — same"_s
                                    << Spans{bold(u"Copy"_s), plain(u" / "_s), bold(u"Export to .txt"_s),
                                             plain(u" — same"_s)};
    QTest::newRow("unmatched bold") << u"**open only"_s << Spans{plain(u"**open only"_s)};
    QTest::newRow("unmatched italic") << u"a *b"_s << Spans{plain(u"a *b"_s)};
    QTest::newRow("unmatched back-quote") << u"a `b"_s << Spans{plain(u"a `b"_s)};
    QTest::newRow("two back-quotes are text") << u"a `` b"_s << Spans{plain(u"a `` b"_s)};
    QTest::newRow("stars between spaces") << u"2 * 3 * 4"_s << Spans{plain(u"2 * 3 * 4"_s)};
    QTest::newRow("marker followed by space") << u"** not bold **"_s << Spans{plain(u"** not bold **"_s)};
    QTest::newRow("bold, then an unmatched star") << u"**a** and *b"_s << Spans{bold(u"a"_s), plain(u" and *b"_s)};
    QTest::newRow("bold closed inside a longer run") << u"**x***"_s << Spans{bold(u"x"_s), plain(u"*"_s)};
    QTest::newRow("italic from the last star of an unclosed pair") << u"**x*"_s << Spans{plain(u"*"_s), italic(u"x"_s)};
    QTest::newRow("back-quote inside bold without a partner") << u"**a ` b**"_s << Spans{bold(u"a ` b"_s)};
}

void TestInlineMarkdown::parse()
{
    QFETCH(QString, text);
    QFETCH(Spans, expected);
    const Spans actual = InlineMarkdown::parse(text);
    QCOMPARE(describe(actual), describe(expected));
    QVERIFY(actual == expected);
}

void TestInlineMarkdown::plainText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("markers dropped") << u"**Copy** (`⇧⌘C`) — places the command"_s
                                     << u"Copy (⇧⌘C) — places the command"_s;
    QTest::newRow("code keeps its stars") << u"**Negate** — wraps as `not (*)`."_s << u"Negate — wraps as not (*)."_s;
    QTest::newRow("unmatched markers kept") << u"a *b `c"_s << u"a *b `c"_s;
}

void TestInlineMarkdown::plainText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(InlineMarkdown::plainText(text), expected);
}

// Every opener looks ahead for its closer; remembering the answers keeps this from taking forever.
void TestInlineMarkdown::manyUnclosedOpenersStayText()
{
    const QString text = u"*a **b "_s.repeated(300);
    QCOMPARE(InlineMarkdown::plainText(text), text);
}

QTEST_GUILESS_MAIN(TestInlineMarkdown)
#include "tst_inlinemarkdown.moc"
