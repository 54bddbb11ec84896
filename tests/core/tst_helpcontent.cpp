#include "help/helpcontent.h"
#include "help/helpplaintext.h"
#include "helptexts.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A distinct text per key, so a key shown for the wrong action cannot pass for the right one.
const HelpPlatform::ShortcutTexts keys{u"K-copy"_s, u"K-save"_s, u"K-open"_s, u"K-help"_s,
                                       u"K-F1"_s,   u"K-add"_s,  u"K-quit"_s};
const QStringList macOnly{u"⌘"_s, u"⇧"_s, u"⏎"_s, u"macOS"_s, u"UserDefaults"_s, u"menu extra"_s, u"menu-bar extra"_s};

QString underlined(const QString &text, QChar mark)
{
    return text + u'\n' + QString(text.toUcs4().size(), mark);
}
} // namespace

class TestHelpContent : public QObject
{
    Q_OBJECT

private slots:

    void inlineMarkdown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spans");
        QTest::newRow("bold around code") << u"**`⌘Q`** — Quit"_s << u"BC[⌘Q] [ — Quit]"_s;
        QTest::newRow("stars inside code") << u"`a**b*c` d"_s << u"C[a**b*c] [ d]"_s;
        QTest::newRow("code hides a closer") << u"**x `**` y**"_s << u"B[x ] BC[**] B[ y]"_s;
        QTest::newRow("bold inside italic") << u"*a **b** c*"_s << u"I[a ] BI[b] I[ c]"_s;
        QTest::newRow("triple stars") << u"***x***"_s << u"BI[x]"_s;
        QTest::newRow("two back-quotes") << u"a `` b"_s << u"[a `` b]"_s;
        QTest::newRow("opener before a space") << u"** not bold **"_s << u"[** not bold **]"_s;
        QTest::newRow("bold, then an unclosed star") << u"**a** and *b"_s << u"B[a] [ and *b]"_s;
        QTest::newRow("bold closed in a longer run") << u"**x***"_s << u"B[x] [*]"_s;
        QTest::newRow("italic from an unclosed pair") << u"**x*"_s << u"[*] I[x]"_s;
        QTest::newRow("lone back-quote in bold") << u"**a ` b**"_s << u"B[a ` b]"_s;
        // Each opener looks ahead for its closer: without remembering the answers this never ends.
        const QString unclosed = u"*a **b "_s.repeated(300);
        QTest::newRow("many unclosed openers") << unclosed << u'[' + unclosed + u']';
    }

    void inlineMarkdown()
    {
        QFETCH(QString, text);
        QFETCH(QString, spans);
        QCOMPARE(spansText(InlineMarkdown::parse(text)), spans);
        QString plain;
        for (const InlineSpan &s : InlineMarkdown::parse(text))
            plain += s.text;
        QCOMPARE(InlineMarkdown::plainText(text), plain);
    }

    // Every article off macOS: the terminal text is its blocks in order, each as its kind is shown, with no
    // marker left; every text with a Mac-only word is reworded, no such word is left, all else stays as
    // written. Configuration snippets keep their nesting. The topic list gives each topic a line, titles
    // in one column.
    void everyArticle()
    {
        static const QRegularExpression lineStart(u"^(?=.)"_s, QRegularExpression::MultilineOption);
        const auto macWorded = [](const QString &text) {
            return std::any_of(macOnly.cbegin(), macOnly.cend(), [&](const QString &w) { return text.contains(w); });
        };
        const QStringList topicLines = HelpPlainText::topicList().split(u'\n');
        const qsizetype titleColumn = topicLines.first().indexOf(HelpTopics::title(HelpTopic::overview));
        QCOMPARE(topicLines.size(), Enum::allCases<HelpTopic>().size() + 1);
        qsizetype reworded = 0, indented = 0;
        for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
            const QString &line = topicLines.at(int(topic));
            QCOMPARE(line.simplified(), Enum::caseName(topic) + u' ' + HelpTopics::title(topic));
            QCOMPARE(line.size() - titleColumn, HelpTopics::title(topic).size());

            const HelpArticle article = articleFor(topic, HelpPlatform::other(keys, u"~/b/saved.json"_s));
            const QList<HelpText> texts = helpTexts(article), mac = helpTexts(articleFor(topic, HelpPlatform::macOS()));
            // Each sidebar title names its own article (Overview's is titled with the application's name).
            QVERIFY2(topic == HelpTopic::overview || HelpTopics::title(topic).startsWith(article.title),
                     qPrintable(article.title));
            QCOMPARE(texts.size(), mac.size());
            const QString text = HelpPlainText::article(article);
            qsizetype at = 0;
            for (qsizetype i = 0; i < texts.size(); ++i) {
                const HelpText &t = texts.at(i);
                const bool listed = i > 0 && texts.at(i - 1).kind == HelpText::bullet;
                const QString shown = t.kind == HelpText::title      ? underlined(t.text, u'=')
                                      : t.kind == HelpText::subtitle ? u'\n' + t.text
                                      : t.kind == HelpText::heading  ? u"\n\n"_s + underlined(t.read(), u'-')
                                      : t.kind == HelpText::bullet   ? (listed ? u"\n• "_s : u"\n\n• "_s) + t.read()
                                      : t.kind == HelpText::code
                                          ? u"\n\n"_s + QString(t.text).replace(lineStart, u"    "_s)
                                          : u"\n\n"_s + t.read();
                QVERIFY2(t.kind == HelpText::code || (!shown.contains(u"**") && !shown.contains(u'`')),
                         qPrintable(shown));
                QCOMPARE(text.mid(at, shown.size()), shown);
                at += shown.size();

                const QString &original = mac.at(i).text;
                QVERIFY2(!macWorded(t.text), qPrintable(t.text));
                QVERIFY2((t.text == original) != macWorded(original), qPrintable(original));
                reworded += macWorded(original);
                indented += t.kind == HelpText::code && original.contains(u"\n  ");
            }
            QCOMPARE(text.mid(at), u"\n"_s);
        }
        QVERIFY(reworded > 0 && indented > 0);
    }

    void mend_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("secondHelpKey");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString home = QDir::homePath(), saved = u"in `UserDefaults`."_s;
        QTest::newRow("keys") << QString() << true << u"**Copy** (`⇧⌘C`) ⇧⌘S ⇧⌘O ⌘? ⌘⏎ ⌘Q, ⌘ Q *menu* `bar`"_s
                              << u"**Copy** (`K-copy`) K-save K-open K-help K-add K-quit, ⌘ Q *menu* `bar`"_s;
        QTest::newRow("keys listed") << QString() << true << u"**`⌘?`** — Help (from menu-bar extra)."_s
                                     << u"**`K-help`** or **`K-F1`** — Help (from tray menu)."_s;
        QTest::newRow("keys listed, no second") << QString() << false << u"**`⌘?`** —"_s << u"**`K-help`** —"_s;
        QTest::newRow("no saved file known")
            << QString() << true << saved << u"in a file of their own beside the application's settings."_s;
        QTest::newRow("saved file at home")
            << home + u"/.config/b.json"_s << true << saved << u"in the saved-commands file (`~/.config/b.json`)."_s;
        QTest::newRow("a sibling of home is not home")
            << home + u"2/b.json"_s << true << saved
            << u"in the saved-commands file (`%1`)."_s.arg(home + u"2/b.json"_s);
        QTest::newRow("replacements not rewritten") << u"/srv/⌘Q/macOS Save panel"_s << true << saved
                                                    << u"in the saved-commands file (`/srv/⌘Q/macOS Save panel`)."_s;
    }

    void mend()
    {
        QFETCH(QString, file);
        QFETCH(bool, secondHelpKey);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(HelpPlatform::macOS().mend(text), text);
        if (HelpPlatform::current(keys, file).isMacOS())
            QSKIP("The Mac shows the articles as written");
        HelpPlatform::ShortcutTexts shortcuts = keys;
        if (!secondHelpKey)
            shortcuts.helpAlternative.clear();
        QCOMPARE(HelpPlatform::current(shortcuts, file).mend(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestHelpContent)
#include "tst_helpcontent.moc"
