#include "builders/formregistry.h"
#include "help/helpcontent.h"
#include "help/helpplaintext.h"
#include "help/inlinemarkdown.h"
#include "model/settingsstorage.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int exitCode = 0;
    QByteArray out;
    QByteArray err;
    bool operator==(const Run &) const = default;
};

char *toString(const Run &r)
{
    return QTest::toString("exit " + QByteArray::number(r.exitCode) + "\nout: " + r.out + "\nerr: " + r.err);
}

// The real binary: its bytes and exit status are what a user or a script gets.
Run run(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(BRINDLECAP_CLI_PATH), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList args(const char *line)
{
    return QString::fromUtf8(line).split(u' ');
}

QString categoryNames()
{
    QStringList names;
    for (DebugCategory c : FormRegistry::builderCategories())
        names << Enum::caseName(c);
    return names.join(u", "_s);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void errors_data();
    void errors();
    void usageAndVersion();
    void printsWhatTheCoreGenerates_data();
    void printsWhatTheCoreGenerates();
    void fieldsAreTheCoreFields();
    void helpIsTheCoreHelp();

private:
    QTemporaryDir m_dir;
};

void TestCli::initTestCase()
{
    // The binary inherits this, so help names a file of this test's own, which nothing may create.
    QVERIFY(m_dir.isValid());
    qputenv("BRINDLECAP_SETTINGS", m_dir.filePath(u"settings.conf"_s).toLocal8Bit());
}

void TestCli::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("mentions"); // the problem, then the valid choices
    QStringList sessionFields, protoChoices;
    for (const auto &f : FormRegistry::create(DebugCategory::session)->fields()) {
        sessionFields << f.name;
        if (f.name == u"proto"_s)
            protoChoices = f.choices;
    }
    const QString fields = sessionFields.join(u", "_s);
    const QString topics = Enum::caseNames<HelpTopic>().join(u", "_s);
    const QString flagChoices = u"true or false"_s;

    QTest::newRow("unknown category") << args("sessions") << QStringList{u"'sessions'"_s, categoryNames()};
    QTest::newRow("no builder") << args("saved") << QStringList{u"'saved'"_s, categoryNames()};
    QTest::newRow("unknown field") << args("session source=1") << QStringList{u"field 'source'"_s, fields};
    QTest::newRow("field case") << args("session SRC=1") << QStringList{u"field 'SRC'"_s, fields};
    QTest::newRow("bad flag") << args("session stats=maybe") << QStringList{u"'maybe' for flag 'stats'"_s, flagChoices};
    QTest::newRow("bad enumeration") << args("session proto=TCP")
                                     << QStringList{u"'TCP' for 'proto'"_s, protoChoices.join(u", "_s)};
    QTest::newRow("no =") << args("session 10.1.1.1") << QStringList{u"'10.1.1.1' is not FIELD=VALUE"_s, fields};
    // Whatever was typed or pasted, the message stays one line that does nothing to the terminal.
    QTest::newRow("escapes") << QStringList{u"session"_s, u"stats=a\nb\r\tc\x1b[31m\\\u2028\u202e\x7f\U000E0001"_s}
                             << QStringList{u"'a\\nb\\r\\tc\\x1b[31m\\\\\\u2028\\u202e\\x7f\\U000e0001'"_s,
                                            flagChoices};
    QTest::newRow("long value") << QStringList{u"ping"_s, u"dfBit="_s + QString(5000, u'x')}
                                << QStringList{u'\'' + QString(80, u'x') + u"\u2026'"_s, flagChoices};
    QTest::newRow("unknown topic") << args("help nope") << QStringList{u"topic 'nope'"_s, topics};
    QTest::newRow("two topics") << args("help ping ha") << QStringList{u"one topic"_s, topics};
}

void TestCli::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, mentions);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(r.err.startsWith("brindlecap: ") && r.err.indexOf('\n') == r.err.size() - 1, r.err.constData());
    for (const QString &mention : mentions)
        QVERIFY2(QString::fromUtf8(r.err).contains(mention), r.err.constData());
}

void TestCli::usageAndVersion()
{
    const Run help = run({u"--help"_s});
    QVERIFY2(help.out.startsWith("Usage:\n") && help.out.contains(categoryNames().toUtf8()), help.out.constData());
    QCOMPARE(help, (Run{0, help.out, {}}));
    QCOMPARE(run({}), (Run{2, {}, help.out}));
    QCOMPARE(run({u"--version"_s}), (Run{0, "brindlecap " BRINDLECAP_VERSION "\n", {}}));
}

void TestCli::printsWhatTheCoreGenerates_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<bool>("noNewline");
    // Spaces at both ends, '=', a line break, and characters from beyond ASCII and beyond 16 bits.
    const QString text = u" a=b \u00e9\u3000\U0001F600\nc "_s;
    const QStringList spellings[] = {{u"false"_s, u"off"_s, u"no"_s, u"0"_s}, {u"true"_s, u"on"_s, u"yes"_s, u"1"_s}};
    int row = 0;
    for (DebugCategory c : FormRegistry::builderCategories()) {
        const QString name = Enum::caseName(c);
        const auto fields = FormRegistry::create(c)->fields();
        QStringList texts, flags;
        qsizetype mostChoices = 0;
        for (const auto &f : fields) {
            mostChoices = std::max(mostChoices, f.choices.size());
            if (f.kind == FieldKind::Flag)
                flags << f.name + u'=' + spellings[f.defaultValue == u"false"_s][flags.size() % 4];
            else if (f.kind != FieldKind::Enumeration) // set twice: the last value wins
                texts << f.name + u"=stale"_s << f.name + u'=' + text;
        }
        const auto add = [&](const QString &label, const QStringList &assignments) {
            QTest::addRow("%s %s", qPrintable(name), qPrintable(label)) << name << assignments << (row++ % 2 == 1);
        };
        add(u"defaults"_s, {});
        add(u"texts"_s, texts);
        add(u"texts, flags flipped"_s, texts + flags);
        // Every case of every enumeration, the k-th case of each at once.
        for (qsizetype k = 0; k < mostChoices; ++k) {
            QStringList cases;
            for (const auto &f : fields) {
                if (!f.choices.isEmpty())
                    cases << f.name + u'=' + f.choices.at(k % f.choices.size());
            }
            add(cases.join(u' '), texts + cases);
        }
    }
}

void TestCli::printsWhatTheCoreGenerates()
{
    QFETCH(QString, category);
    QFETCH(QStringList, assignments);
    QFETCH(bool, noNewline);
    auto form = FormRegistry::create(*Enum::fromCaseName<DebugCategory>(category));
    for (const QString &a : assignments)
        QVERIFY(form->setField(a.section(u'=', 0, 0), a.section(u'=', 1)));
    // -n stands first on one run and last on the other: options count wherever they are.
    const QStringList n{u"-n"_s};
    const QString end = u"\n"_s;
    QCOMPARE(run(QStringList{category} + (noNewline ? n : QStringList()) + assignments),
             (Run{0, (form->generatedCommand() + (noNewline ? QString() : end)).toUtf8(), {}}));
    QCOMPARE(run(QStringList{category} + assignments + QStringList{u"--title"_s} + (noNewline ? QStringList() : n)),
             (Run{0, (form->title() + (noNewline ? end : QString())).toUtf8(), {}}));
}

void TestCli::fieldsAreTheCoreFields()
{
    for (DebugCategory c : FormRegistry::builderCategories()) {
        const Run r = run({Enum::caseName(c), u"--fields"_s});
        QCOMPARE(r.exitCode, 0);
        QStringList lines = QString::fromUtf8(r.out).split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        const QString heading = lines.takeFirst();
        QCOMPARE(heading.simplified(), u"FIELD KIND DEFAULT CHOICES"_s);
        const auto fields = FormRegistry::create(c)->fields();
        QCOMPARE(lines.size(), fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const auto &f = fields.at(i);
            const bool isText = f.kind == FieldKind::Text || f.kind == FieldKind::MultiLineText;
            const QString kind = f.kind == FieldKind::Text            ? u"text"_s
                                 : f.kind == FieldKind::MultiLineText ? u"multiline text"_s
                                 : f.kind == FieldKind::Flag          ? u"flag"_s
                                                                      : u"enum"_s;
            const QString shown = isText ? u'"' + f.defaultValue + u'"' : f.defaultValue;
            const QString choices = f.choices.isEmpty() ? QString() : u' ' + f.choices.join(u", "_s);
            QCOMPARE(lines.at(i).simplified(), f.name + u' ' + kind + u' ' + shown + choices);
            // Each column starts under its heading.
            QCOMPARE(lines.at(i).indexOf(kind, f.name.size()), heading.indexOf(u"KIND"_s));
            if (!choices.isEmpty())
                QCOMPARE(lines.at(i).lastIndexOf(choices.mid(1)), heading.indexOf(u"CHOICES"_s));
        }
    }
}

void TestCli::helpIsTheCoreHelp()
{
    const Run list = run({u"help"_s});
    QCOMPARE(list, (Run{0, HelpPlainText::topicList().toUtf8(), {}}));
    const QStringList lines = QString::fromUtf8(list.out).split(u'\n');
    const QList<HelpTopic> topics = Enum::allCases<HelpTopic>();
    QCOMPARE(lines.size(), topics.size() + 1);
    const HelpPlatform platform = HelpPlatform::current(HelpPlatform::standardShortcutTexts(),
                                                        SettingsStorage().pathOf(SettingsStorage::savedCommands));
    for (qsizetype i = 0; i < topics.size(); ++i) {
        // One line per topic: case name, then the title in one column.
        const QString title = HelpTopics::title(topics.at(i));
        QCOMPARE(lines.at(i).simplified(), Enum::caseName(topics.at(i)) + u' ' + title);
        QCOMPARE(lines.at(i).lastIndexOf(title), lines.at(0).lastIndexOf(HelpTopics::title(topics.at(0))));

        const HelpArticle article = articleFor(topics.at(i), platform);
        const Run r = run({u"help"_s, Enum::caseName(topics.at(i))});
        QCOMPARE(r, (Run{0, HelpPlainText::article(article).toUtf8(), {}}));
        // As text: the title underlined by one '=' a character, one line feed at the very end.
        const QString text = QString::fromUtf8(r.out);
        QVERIFY(text.startsWith(article.title + u'\n' + QString(article.title.toUcs4().size(), u'=') + u'\n'));
        QVERIFY(text.endsWith(u'\n') && !text.endsWith(u"\n\n"_s));
        for (const HelpBlock &block : article.content) {
            if (const auto *section = std::get_if<HelpSection>(&block)) {
                const QString heading = InlineMarkdown::plainText(section->heading);
                QVERIFY(
                    text.contains(u"\n\n"_s + heading + u'\n' + QString(heading.toUcs4().size(), u'-') + u"\n\n"_s));
            }
        }
    }
    QVERIFY(run({u"help"_s, u"saved"_s}).out.contains(m_dir.path().toUtf8()));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(u"settings.conf"_s)));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
