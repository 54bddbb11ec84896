#include "builders/formregistry.h"
#include "help/helptopic.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QProcess *finished(QProcess &p, const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    p.start(program, arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return &p;
}

QByteArray script(const QString &shell)
{
    QProcess p;
    finished(p, QStringLiteral(BRINDLECAP_CLI_PATH), {u"--completion"_s, shell});
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

QStringList valuesOf(const AnyForm::Field &f)
{
    return f.kind == FieldKind::Flag ? QStringList{u"true"_s, u"false"_s} : f.choices;
}

} // namespace

class TestCompletion : public QObject
{
    Q_OBJECT

private slots:
    void namesEveryCategoryFieldAndValue_data();
    void namesEveryCategoryFieldAndValue();
    void bashCompletesWhatTheFormsAccept();
};

void TestCompletion::namesEveryCategoryFieldAndValue_data()
{
    QTest::addColumn<QString>("shell");
    for (const char *shell : {"bash", "zsh", "fish"})
        QTest::newRow(shell) << QString::fromLatin1(shell);
}

void TestCompletion::namesEveryCategoryFieldAndValue()
{
    QFETCH(QString, shell);
    const QString text = QString::fromUtf8(script(shell));
    // A word of its own; a value may follow "FIELD=" (fish lists each value with its field).
    const auto names = [&text](const QString &word) {
        return text.contains(QRegularExpression(u"(?<![\\w-])"_s + QRegularExpression::escape(word) + u"(?![\\w=])"_s));
    };
    for (DebugCategory c : FormRegistry::builderCategories()) {
        QVERIFY2(names(Enum::caseName(c)), qPrintable(Enum::caseName(c)));
        for (const auto &f : FormRegistry::create(c)->fields()) {
            QVERIFY2(text.contains(QRegularExpression(u"(?<![\\w-])"_s + f.name + u"=(?!\\w)"_s)), qPrintable(f.name));
            for (const QString &v : valuesOf(f))
                QVERIFY2(names(v), qPrintable(f.name + u'=' + v));
        }
    }
}

// Bash runs the script, without a word on standard error: after each category its fields and options, after
// FIELD= that field's values, whether bash split the word at '=' or not, and a typed prefix narrows the list.
void TestCompletion::bashCompletesWhatTheFormsAccept()
{
    QByteArray calls =
        script(u"bash"_s) +
        "\nat() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _brindlecap; echo \"${COMPREPLY[*]}\"; }\n";
    QList<QStringList> expected;
    const auto expect = [&](const QStringList &words, const QStringList &replies) {
        calls += "at brindlecap '" + words.join(u"' '"_s).toUtf8() + "'\n";
        expected << replies;
    };
    const QStringList options{u"-n"_s, u"--title"_s, u"--fields"_s, u"--check"_s, u"--strict"_s};
    QStringList categories;
    for (DebugCategory c : FormRegistry::builderCategories()) {
        const QString name = Enum::caseName(c);
        categories << name;
        QStringList fields;
        for (const auto &f : FormRegistry::create(c)->fields()) {
            fields << f.name + u'=';
            QStringList whole;
            for (const QString &v : valuesOf(f))
                whole << f.name + u'=' + v;
            expect({name, f.name + u'='}, whole);
            expect({name, f.name, u"="_s, QString()}, valuesOf(f));
            expect({name, f.name, u"="_s}, valuesOf(f));
            if (!valuesOf(f).isEmpty()) {
                const QString prefix = valuesOf(f).first().left(1);
                expect({name, f.name, u"="_s, prefix}, valuesOf(f).filter(QRegularExpression(u'^' + prefix)));
            }
        }
        expect({name, QString()}, fields + options);
        expect({name, u"-"_s}, options);
        for (const QString &f : fields)
            expect({name, f.left(2)}, fields.filter(QRegularExpression(u'^' + f.left(2))));
    }
    expect({QString()},
           categories + QStringList{u"help"_s, u"saved"_s, u"read"_s, u"--help"_s, u"--version"_s, u"--completion"_s});
    expect({u"help"_s, QString()}, Enum::caseNames<HelpTopic>());
    expect({u"saved"_s, QString()}, {u"list"_s, u"show"_s});
    expect({u"saved"_s, u"list"_s, u"vpn"_s, u"--"_s}, {u"--json"_s});
    // The ids are the saved list's own (here a stand-in for the program).
    calls += "brindlecap() { echo '1A2B3C4D  ping  2026-12-07 10:00  Core'; }\n";
    expect({u"saved"_s, u"show"_s, QString()}, {u"-n"_s, u"1A2B3C4D"_s});
    expect({u"--completion"_s, QString()}, {u"bash"_s, u"zsh"_s, u"fish"_s});
    expect({u"read"_s, QString()}, {u"sniffer"_s, u"flow"_s});
    expect({u"read"_s, u"sniffer"_s, u"--"_s}, {u"--pcap"_s, u"--start"_s, u"--utc-offset"_s});
    expect({u"read"_s, u"flow"_s, u"-"_s}, {u"--json"_s});

    QProcess bash;
    const QStringList got = QString::fromUtf8(finished(bash, u"bash"_s, {}, calls)->readAll()).split(u'\n');
    QCOMPARE(bash.readAllStandardError(), QByteArray());
    QCOMPARE(got.size(), expected.size() + 1);
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(got.at(i).split(u' ', Qt::SkipEmptyParts), expected.at(i));
}

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
