#include "builders/formregistry.h"
#include "filtercheck/filtercheck.h"
#include "help/helpcontent.h"
#include "help/helpplaintext.h"
#include "model/savedcommand.h"
#include "model/settingsstorage.h"
#include "readers/flowreader.h"
#include "readers/flowtext.h"

#include "storedlist.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
Run run(const QStringList &arguments, const QString &program = QStringLiteral(BRINDLECAP_CLI_PATH))
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
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
    void savedListsAndShowsWithoutChangingAnything();
    void readsSnifferOutput();
    void readsFlowOutput();

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
    QTest::addColumn<QString>("arguments");    // split at each '|'
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

    QTest::newRow("unknown category") << u"sessions"_s << QStringList{u"'sessions'"_s, categoryNames()};
    QTest::newRow("unknown shell") << u"--completion|tcsh"_s << QStringList{u"'tcsh'"_s, u"bash, zsh, fish"_s};
    QTest::newRow("no shell") << u"--completion"_s << QStringList{u"bash, zsh, fish"_s};
    QTest::newRow("saved alone") << u"saved"_s << QStringList{u"saved list"_s, u"saved show"_s};
    QTest::newRow("saved, no such") << u"saved|remove"_s << QStringList{u"'remove'"_s, u"saved list"_s};
    QTest::newRow("saved show, two") << u"saved|show|a|b"_s << QStringList{u"one ID-PREFIX or TITLE"_s};
    QTest::newRow("unknown field") << u"session|source=1"_s << QStringList{u"field 'source'"_s, fields};
    QTest::newRow("field case") << u"session|SRC=1"_s << QStringList{u"field 'SRC'"_s, fields};
    QTest::newRow("bad flag") << u"session|stats=maybe"_s << QStringList{u"'maybe' for flag 'stats'"_s, flagChoices};
    QTest::newRow("bad enumeration") << u"session|proto=TCP"_s
                                     << QStringList{u"'TCP' for 'proto'"_s, protoChoices.join(u", "_s)};
    QTest::newRow("no =") << u"session|10.1.1.1"_s << QStringList{u"'10.1.1.1' is not FIELD=VALUE"_s, fields};
    // Whatever was typed or pasted, the message stays one line that does nothing to the terminal.
    QTest::newRow("escapes") << u"session|stats=a\nb\r\tc\x1b[31m\\\u2028\u202e\x7f\U000E0001"_s
                             << QStringList{u"'a\\nb\\r\\tc\\x1b[31m\\\\\\u2028\\u202e\\x7f\\U000e0001'"_s,
                                            flagChoices};
    QTest::newRow("long value") << u"ping|dfBit="_s + QString(5000, u'x')
                                << QStringList{u'\'' + QString(80, u'x') + u"\u2026'"_s, flagChoices};
    QTest::newRow("unknown topic") << u"help|nope"_s << QStringList{u"topic 'nope'"_s, topics};
    QTest::newRow("two topics") << u"help|ping|ha"_s << QStringList{u"one topic"_s, topics};
    QTest::newRow("unknown reader") << u"read|flows"_s << QStringList{u"'flows'"_s, u"sniffer, flow"_s};
    QTest::newRow("flow, two logs") << u"read|flow|a|b"_s << QStringList{u"'b'"_s, u"[FILE|-] [--json]"_s};
    QTest::newRow("flow, sniffer's option") << u"read|flow|a|--pcap"_s << QStringList{u"'--pcap'"_s};
    QTest::newRow("flow, missing log") << u"read|flow|/nonexistent/log"_s << QStringList{u"No such file"_s};
    QTest::newRow("bad offset") << u"read|sniffer|x|--utc-offset|+25:00"_s << QStringList{u"'+25:00'"_s, u"+HH:MM"_s};
    QTest::newRow("bad start") << u"read|sniffer|x|--start|monday"_s << QStringList{u"'monday'"_s, u"ISO 8601"_s};
    QTest::newRow("pipe, no output") << u"read|sniffer|-"_s << QStringList{u"-o OUT"_s};
    QTest::newRow("missing log") << u"read|sniffer|/nonexistent/log"_s << QStringList{u"No such file"_s};
}

void TestCli::errors()
{
    QFETCH(QString, arguments);
    QFETCH(QStringList, mentions);
    const Run r = run(arguments.split(u'|'));
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
    const Run saved = run({u"saved"_s, u"--help"_s});
    QVERIFY(saved.exitCode == 0 && saved.out.startsWith("Usage:\n  brindlecap saved list") && saved.err.isEmpty());
    const Run read = run({u"read"_s, u"--help"_s});
    QVERIFY(read.exitCode == 0 && read.out.contains("brindlecap read flow [FILE|-] [--json]") && read.err.isEmpty());
    QCOMPARE(run({u"read"_s, u"flow"_s, u"--help"_s}), read);
    // Output that cannot be written is exit 1 with one line; a reader that stops early is a normal end.
    const auto shell = [](const char *script) {
        return run({u"-c"_s, QString::fromLatin1(script).arg(QStringLiteral(BRINDLECAP_CLI_PATH))}, u"sh"_s);
    };
    QCOMPARE(shell("%1 --help >/dev/full"),
             (Run{1, {}, "brindlecap: could not write to standard output: No space left on device\n"}));
    QCOMPARE(shell("{ sleep 0.3; %1 --man; echo $? >&2; } | true"), (Run{0, {}, "0\n"}));
}

void TestCli::printsWhatTheCoreGenerates_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<bool>("noNewline");
    // Spaces at both ends, '=', a line break, and characters from beyond ASCII and beyond 16 bits.
    const QString text = u" a=b \u00e9\u3000\U0001F600\nc "_s;
    const QStringList flagSpellings{u"off"_s, u"yes"_s, u"0"_s, u"on"_s};
    for (DebugCategory c : FormRegistry::builderCategories()) {
        // Every field away from its default: texts set twice (the last value wins), flags flipped in
        // the various spellings, the last case of each enumeration.
        QStringList all;
        for (const auto &f : FormRegistry::create(c)->fields()) {
            if (f.kind == FieldKind::Flag)
                all << f.name + u'=' + flagSpellings[all.size() % 2 * 2 + (f.defaultValue == u"false"_s)];
            else if (f.choices.isEmpty())
                all << f.name + u"=stale"_s << f.name + u'=' + text;
            else
                all << f.name + u'=' + f.choices.last();
        }
        QTest::addRow("%s defaults", qPrintable(Enum::caseName(c))) << Enum::caseName(c) << QStringList() << true;
        QTest::addRow("%s all set", qPrintable(Enum::caseName(c))) << Enum::caseName(c) << all << false;
    }
    QTest::newRow("sniffer, a filter libpcap refuses")
        << u"sniffer"_s << QStringList{u"useCustomFilter=true"_s, u"customFilter=tcp port"_s} << false;
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
    // --check adds the core's advice (and libpcap's verdict on a capture filter) on standard error and
    // changes nothing else; --strict prints no command when there is advice.
    QByteArray advice;
    for (const FieldAdvice &a : FilterCheck::adviceWithVerdict(*form))
        advice += "brindlecap: advice: " + a.field.toUtf8() + ": " + a.text.toUtf8() + '\n';
    QCOMPARE(advice.isEmpty(), assignments.isEmpty()); // no default draws advice; the odd text always does
    const QByteArray out = (form->generatedCommand() + end).toUtf8();
    QCOMPARE(run(QStringList{category} + assignments + QStringList{u"--check"_s}), (Run{0, out, advice}));
    QCOMPARE(run(QStringList{category, u"--strict"_s} + assignments),
             (advice.isEmpty() ? Run{0, out, {}} : Run{3, {}, advice}));
}

// One row per core field under a heading.
void TestCli::fieldsAreTheCoreFields()
{
    const QStringList kinds{u"text"_s, u"multiline text"_s, u"flag"_s, u"enum"_s}; // by FieldKind
    for (DebugCategory c : FormRegistry::builderCategories()) {
        const Run r = run({Enum::caseName(c), u"--fields"_s});
        QStringList lines = QString::fromUtf8(r.out).split(u'\n');
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.takeFirst().simplified(), u"FIELD KIND DEFAULT CHOICES"_s);
        const auto fields = FormRegistry::create(c)->fields();
        QCOMPARE(lines.size(), fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const auto &f = fields.at(i);
            const QString kind = kinds.at(int(f.kind)), choices = f.choices.join(u", "_s);
            const QString shown = f.kind < FieldKind::Flag ? u'"' + f.defaultValue + u'"' : f.defaultValue;
            QCOMPARE(lines.at(i).simplified(), (QStringList{f.name, kind, shown, choices}.join(u' ')).trimmed());
        }
    }
}

// The binary prints what the core renders, with this system's wording and this test's settings file,
// and reading help creates no settings.
void TestCli::helpIsTheCoreHelp()
{
    QCOMPARE(run({u"help"_s}), (Run{0, HelpPlainText::topicList().toUtf8(), {}}));
    const HelpPlatform platform = HelpPlatform::current(HelpPlatform::standardShortcutTexts(),
                                                        SettingsStorage().pathOf(SettingsStorage::savedCommands));
    for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
        QCOMPARE(run({u"help"_s, Enum::caseName(topic)}),
                 (Run{0, HelpPlainText::article(articleFor(topic, platform)).toUtf8(), {}}));
    }
    QVERIFY(run({u"help"_s, u"saved"_s}).out.contains(m_dir.path().toUtf8()));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(u"settings.conf"_s)));
}

// Read from the list's file or, before the first version's settings were moved, from the settings file;
// either way nothing on disk changes, and an unreadable list is an error, never an empty one.
void TestCli::savedListsAndShowsWithoutChangingAnything()
{
    const SettingsStorage storage(m_dir.filePath(u"settings.conf"_s));
    const QString file = storage.pathOf(SettingsStorage::savedCommands);
    QCOMPARE(run({u"saved"_s, u"list"_s}), (Run{0, {}, {}}));
    // Two ids with a common start, a title with a line break, newest first as stored.
    QList<SavedCommand> commands{
        SavedCommand::create(u"Ping Google"_s, DebugCategory::ping, u"exec ping 8.8.8.8"_s, u"dns"_s),
        SavedCommand::create(u"Cap\nture"_s, DebugCategory::sniffer, u"diagnose sniffer packet any 'host a' 4"_s, {})};
    commands[0].id = QUuid(u"1a2b3c4d-0000-4000-8000-000000000001"_s);
    commands[1].id = QUuid(u"1a2b9999-0000-4000-8000-000000000002"_s);
    const QByteArray stored = SavedCommand::encodeList(commands);
    const auto line = [](const SavedCommand &c, const QString &quote = {}) { // titles quoted in messages
        return SavedCommand::idText(c.id).left(8) + u"  "_s + Enum::caseName(c.category).leftJustified(10) + u"  "_s +
               c.createdAtDateTime().toLocalTime().toString(u"yyyy-MM-dd HH:mm"_s) + u"  "_s + quote +
               QString(c.title).replace(u'\n', u"\\n"_s) + quote + u'\n';
    };
    for (const bool legacy : {true, false}) {
        if (legacy)
            QSettings(storage.fileName(), QSettings::IniFormat)
                .setValue(u"BrindlecapBuilder.SavedCommands.v1"_s, stored);
        else
            QVERIFY(QFile::remove(storage.fileName()) &&
                    putStoredList(storage, SettingsStorage::savedCommands, stored));
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
        const QByteArray settings = fileContents(storage.fileName());
        QCOMPARE(run({u"saved"_s, u"list"_s}), (Run{0, (line(commands[0]) + line(commands[1])).toUtf8(), {}}));
        QCOMPARE(run({u"saved"_s, u"list"_s, u"  GOOGLE "_s}), (Run{0, line(commands[0]).toUtf8(), {}}));
        QCOMPARE(run({u"saved"_s, u"list"_s, u"--json"_s, u"sniffer"_s}),
                 (Run{0, SavedCommand::encodeList({commands[1]}) + '\n', {}}));
        QCOMPARE(run({u"saved"_s, u"show"_s, u"1a2b3"_s}), (Run{0, commands[0].command.toUtf8() + '\n', {}}));
        QCOMPARE(run({u"saved"_s, u"show"_s, u"-n"_s, u"Cap\nture"_s}), (Run{0, commands[1].command.toUtf8(), {}}));
        const Run ambiguous = run({u"saved"_s, u"show"_s, u"1A2B"_s});
        QCOMPARE(ambiguous.exitCode, 2);
        QVERIFY(ambiguous.out.isEmpty() &&
                ambiguous.err.endsWith((line(commands[0], u"'"_s) + line(commands[1], u"'"_s)).toUtf8()));
        QCOMPARE(run({u"saved"_s, u"show"_s, u"Ping"_s}).exitCode, 2);
        QCOMPARE(run({u"saved"_s, u"show"_s, u"ping GOOGLE"_s}).out,
                 commands[0].command.toUtf8() + '\n'); // one, in any case
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
        QCOMPARE(fileContents(storage.fileName()), settings);
    }
    // Unreadable in any way a file can be, a pipe or a device refused at once, the settings file's
    // included: an error on one short line, with nothing of the file raw, and nothing changed.
    const QByteArray hostile = "\\u001b]0;pwned\\u0007\\n\\u0000" + QByteArray(100000, 'x');
    const auto entry = [](const QByteArray &id, const QByteArray &category) {
        return R"([{"id":")" + id + R"(","title":"","category":")" + category +
               R"(","command":"","notes":"","createdAt":0}])";
    };
    for (const auto &[stored, why] :
         {std::pair{QByteArray("[{"), u"invalid JSON"_s}, std::pair{entry(hostile, "Ping"), u"not a valid UUID"_s},
          std::pair{entry("1A2B3C4D-0000-4000-8000-000000000001", hostile), u"not a valid category"_s},
          std::pair{QByteArray("|"), u"named pipe"_s}, std::pair{QByteArray("/dev/zero"), u"device"_s},
          std::pair{QByteArray("settings|"), u"settings file"_s}}) {
        const QString path = stored.startsWith("settings") ? storage.fileName() : file;
        QVERIFY(stored.endsWith('|')     ? mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                : stored.startsWith('/') ? QFile::link(QString::fromUtf8(stored), path)
                                         : putStoredList(storage, SettingsStorage::savedCommands, stored));
        const Run r = run({u"saved"_s, u"list"_s});
        QVERIFY2(r.exitCode == 2 && r.out.isEmpty() && r.err.indexOf('\n') == r.err.size() - 1 && r.err.size() < 400 &&
                     std::ranges::none_of(r.err.chopped(1), [](char c) { return uchar(c) < 0x20 || c == 0x7f; }) &&
                     QString::fromUtf8(r.err).contains(why),
                 r.err.constData());
        QVERIFY(QFile::remove(path));
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

void TestCli::readsSnifferOutput()
{
    const QString log = m_dir.filePath(u"capture.log"_s);
    const QByteArray header = "2015-06-23 17:00:12.284010 port1 in 10.0.0.1 -> 10.0.0.2: icmp: echo request\n";
    const auto write = [&](const QByteArray &text) {
        QFile file(log);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    QVERIFY(write(header + "0x0000\t 4500 001c 0001 0000 4001 66d6 0a00 0001\tE.......@.f.....\n"
                           "0x0000\t 0a00 0002 0800 f7ff 0000 0000\n"));
    const Run written = run({u"read"_s, u"sniffer"_s, log});
    QCOMPARE(written.exitCode, 0);
    QVERIFY2(written.err.startsWith("brindlecap: line 3: a dump with no header line") &&
                 written.err.endsWith("1 warning; written to '" + m_dir.filePath(u"capture.pcapng"_s).toUtf8() + "'\n"),
             written.err.constData());
    QFile capture(m_dir.filePath(u"capture.pcapng"_s));
    QVERIFY(capture.open(QIODevice::ReadOnly) && capture.read(4) == QByteArray::fromHex("0a0d0d0a"));
    // A device is never replaced by a file, even for root.
    const Run device = run({u"read"_s, u"sniffer"_s, log, u"--pcap"_s, u"-o"_s, u"/dev/null"_s});
    QVERIFY2(device.exitCode == 1 && device.err.contains("not a regular file"), device.err.constData());
    QVERIFY(QFileInfo(u"/dev/null"_s).exists() && !QFileInfo(u"/dev/null"_s).isFile());
    QVERIFY(write(header + header));
    const Run headersOnly = run({u"read"_s, u"sniffer"_s, log});
    QVERIFY2(headersOnly.exitCode == 2 && headersOnly.err.contains("verbose 6"), headersOnly.err.constData());
}

// The lines are the core's words for the core's traces of the same input, warnings and summary included;
// --json holds the same traces.
void TestCli::readsFlowOutput()
{
    const QString log = m_dir.filePath(u"trace.log"_s);
    const QByteArray text =
        "FGT # id=65308 trace_id=571 func=print_pkt_detail line=5845 msg=\"vd-root:0 received a packet(proto=6, "
        "192.168.20.2:63611->63.137.229.1:443) tun_id=0.0.0.0 from port6. flag [S], seq 1, ack 0, win 64240\"\n"
        "id=65308 trace_id=571 func=init_ip_session_common line=6127 msg=\"allocate a new session-015a96aa\"\n"
        "id=65308 trace_id=571 func=__vf_ip_route_input_rcu line=1 msg=\"find a route: flag=00000000 gw-10.9.10.1 "
        "via port1\"\n"
        "id=65308 trace_id=571 func=fw_forward_handler line=2 msg=\"Allowed by Policy-22: SNAT\"\n"
        "2022-11-30 19:54:08 id=20085 trace_id=2 func=print_pkt_detail line=5845 msg=\"vd-root:0 received a "
        "packet(proto=1, 10.0.0.1:1->10.0.0.2:2048) tun_id=0.0.0.0 from LAN Aggregate. type=8, code=0, id=1, seq=1.\"\n"
        "id=20085 trace_id=2 func=fw_forward_handler line=3 msg=\"Denied by forward policy check (policy 0)\"\n"
        "id=20085 trace_id=3 func=print_pkt_detail line=5845 msg=\"vd-root:0 received a pack\n";
    const auto write = [&](const QByteArray &bytes) {
        QFile file(log);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write(text));
    QList<FlowTrace> traces;
    QByteArray lines, err;
    FlowText::Tally tally;
    FlowReader reader(
        [&](FlowTrace &&t) {
            lines += FlowText::line(t).toUtf8() + '\n';
            tally.add(t);
            traces << t;
        },
        [&](const FlowReader::Warning &w) {
            err += "brindlecap: line " + QByteArray::number(w.line) + ": " + w.text.toUtf8() + '\n';
        });
    reader.feed(text);
    reader.finish();
    QVERIFY(traces.size() >= 2);
    QCOMPARE(run({u"read"_s, u"flow"_s, log}),
             (Run{0, lines, err + "brindlecap: " + tally.summaryLine().toUtf8() + '\n'}));

    const auto shell = [&](const char *script) {
        return run({u"-c"_s, QString::fromLatin1(script), u"" BRINDLECAP_CLI_PATH ""_s, log}, u"sh"_s);
    };
    const Run json = shell("exec \"$0\" read flow - --json < \"$1\"");
    QJsonParseError error;
    const QJsonArray array = QJsonDocument::fromJson(json.out, &error).array();
    QVERIFY2(json.exitCode == 0 && error.error == QJsonParseError::NoError, json.out.constData());
    QCOMPARE(array.size(), traces.size());
    for (qsizetype i = 0; i < traces.size(); ++i) {
        QCOMPARE(array.at(i)[u"trace"].toInteger(-1), traces.at(i).traceId);
        QCOMPARE(array.at(i)[u"verdict"].toString(), Enum::caseName(traces.at(i).verdict));
    }
    const Run full = shell("exec \"$0\" read flow \"$1\" >/dev/full");
    QVERIFY2(full.exitCode == 1 && full.err.endsWith("No space left on device\n"), full.err.constData());

    QVERIFY(write("FGT # diagnose debug flow trace start 10\nFGT # diagnose debug enable\n"));
    const Run none = run({u"read"_s, u"flow"_s, log});
    QVERIFY2(none.exitCode == 2 && none.out.isEmpty() && none.err.count('\n') == 1, none.err.constData());
}
