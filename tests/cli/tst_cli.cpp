#include <QFileInfo>
#include <QProcess>
#include <QTest>

// Runs the real brindlecap binary: its bytes and exit status are the contract.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void output_data();
    void output();
    void errors_data();
    void errors();
    void fieldsListsEveryFieldWithDefault();
    void snifferFields();
    void helpListsTopics();
    void helpPrintsArticle_data();
    void helpPrintsArticle();
    void helpNamesTheSettingsFile();
    void helpErrors_data();
    void helpErrors();

private:
    struct Run {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    static Run run(const QStringList &arguments, const QProcessEnvironment &environment = {})
    {
        QProcess process;
        if (!environment.isEmpty())
            process.setProcessEnvironment(environment);
        process.start(QStringLiteral(BRINDLECAP_CLI_PATH), arguments);
        process.waitForFinished(30000);
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
};

void TestCli::output_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("defaults, -n") << QStringList{QStringLiteral("session"), QStringLiteral("-n")}
                                  << QByteArray("diagnose sys session filter clear\ndiagnose sys session list");
    QTest::newRow("defaults end in one line feed")
        << QStringList{QStringLiteral("session")}
        << QByteArray("diagnose sys session filter clear\ndiagnose sys session list\n");
    QTest::newRow("fields") << QStringList{QStringLiteral("session"), QStringLiteral("src=10.1.1.10"),
                                           QStringLiteral("proto=icmp"), QStringLiteral("stats=true")}
                            << QByteArray("diagnose sys session filter clear\ndiagnose sys session filter src "
                                          "10.1.1.10\ndiagnose sys session filter proto 1\n"
                                          "diagnose sys session stat\ndiagnose sys session list\n");
    QTest::newRow("value verbatim, last wins, flag spellings")
        << QStringList{QStringLiteral("session"), QStringLiteral("clearFirst=off"), QStringLiteral("listAtEnd=0"),
                       QStringLiteral("vdom=x"),  QStringLiteral("vdom= root\t"),   QStringLiteral("negate=yes"),
                       QStringLiteral("-n")}
        << QByteArray("diagnose sys session filter vd  root\t\ndiagnose sys session filter negate");
    QTest::newRow("value holding '='") << QStringList{QStringLiteral("session"), QStringLiteral("dst=a=b"),
                                                      QStringLiteral("clearFirst=false"),
                                                      QStringLiteral("listAtEnd=no"), QStringLiteral("-n")}
                                       << QByteArray("diagnose sys session filter dst a=b");
    QTest::newRow("single-line field: line break becomes a space")
        << QStringList{QStringLiteral("session"), QStringLiteral("src=1.1.1.1\nexecute reboot"),
                       QStringLiteral("clearFirst=false"), QStringLiteral("listAtEnd=false"), QStringLiteral("-n")}
        << QByteArray("diagnose sys session filter src 1.1.1.1 execute reboot");
    QTest::newRow("unicode") << QStringList{QStringLiteral("session"), QStringLiteral("vdom=vd\u00e9\u3000"),
                                            QStringLiteral("clearFirst=0"), QStringLiteral("listAtEnd=0"),
                                            QStringLiteral("-n")}
                             << QStringLiteral("diagnose sys session filter vd vd\u00e9\u3000").toUtf8();
    QTest::newRow("everything off: empty text, one line feed")
        << QStringList{QStringLiteral("session"), QStringLiteral("clearFirst=false"), QStringLiteral("listAtEnd=false")}
        << QByteArray("\n");
    QTest::newRow("title") << QStringList{QStringLiteral("session"), QStringLiteral("--title")}
                           << QByteArray("Session Diagnostics\n");
    QTest::newRow("title -n") << QStringList{QStringLiteral("session"), QStringLiteral("--title"), QStringLiteral("-n")}
                              << QByteArray("Session Diagnostics");

    QTest::newRow("sniffer defaults") << QStringList{QStringLiteral("sniffer")}
                                      << QByteArray("diagnose sniffer packet any 'none' 4 0 l\n");
    QTest::newRow("sniffer, full simple form by case names")
        << QStringList{QStringLiteral("sniffer"),
                       QStringLiteral("interface= port1 "),
                       QStringLiteral("proto=tcp"),
                       QStringLiteral("host=10.0.0.1"),
                       QStringLiteral("hostMode=src"),
                       QStringLiteral("network=10.0.0.0/8"),
                       QStringLiteral("networkMode=dst"),
                       QStringLiteral("portList=80,,443"),
                       QStringLiteral("portMode=dst"),
                       QStringLiteral("verbose=v6"),
                       QStringLiteral("count=100"),
                       QStringLiteral("timestamp=absoluteUTC"),
                       QStringLiteral("-n")}
        << QByteArray("diagnose sniffer packet port1 'tcp and src host 10.0.0.1 and dst net 10.0.0.0/8 and "
                      "(dst port 80 or dst port 443)' 6 100 a");
    QTest::newRow("sniffer, relative without count")
        << QStringList{QStringLiteral("sniffer"), QStringLiteral("timestamp=relative"), QStringLiteral("verbose=v1")}
        << QByteArray("diagnose sniffer packet any 'none' 1\n");
    QTest::newRow("sniffer, custom filter keeps its line break")
        << QStringList{QStringLiteral("sniffer"), QStringLiteral("useCustomFilter=on"),
                       QStringLiteral("customFilter= tcp\nport 80 "), QStringLiteral("host=1.1.1.1"),
                       QStringLiteral("-n")}
        << QByteArray("diagnose sniffer packet any 'tcp\nport 80' 4 0 l");
    QTest::newRow("sniffer, single-line field loses its line break")
        << QStringList{QStringLiteral("sniffer"), QStringLiteral("host=1.1.1.1\n"), QStringLiteral("-n")}
        << QByteArray("diagnose sniffer packet any 'host 1.1.1.1' 4 0 l");
    QTest::newRow("sniffer title keeps the spaces")
        << QStringList{QStringLiteral("sniffer"), QStringLiteral("interface= port1 "), QStringLiteral("--title")}
        << QByteArray("Sniffer on  port1 \n");
    QTest::newRow("sniffer title, empty interface")
        << QStringList{QStringLiteral("sniffer"), QStringLiteral("interface="), QStringLiteral("--title")}
        << QByteArray("Sniffer on any\n");
}

void TestCli::output()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    const Run r = run(arguments);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, expected);
}

void TestCli::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("no arguments") << QStringList{} << QStringLiteral("Usage:");
    QTest::newRow("unknown category") << QStringList{QStringLiteral("sessions")} << QStringLiteral("session");
    QTest::newRow("saved is no builder") << QStringList{QStringLiteral("saved")} << QStringLiteral("'saved'");
    QTest::newRow("category by title") << QStringList{QStringLiteral("Sessions")} << QStringLiteral("'Sessions'");
    QTest::newRow("unknown field") << QStringList{QStringLiteral("session"), QStringLiteral("source=1")}
                                   << QStringLiteral("srcPort");
    QTest::newRow("field name is case-sensitive")
        << QStringList{QStringLiteral("session"), QStringLiteral("SRC=1")} << QStringLiteral("'SRC'");
    QTest::newRow("bad flag") << QStringList{QStringLiteral("session"), QStringLiteral("stats=maybe")}
                              << QStringLiteral("true or false");
    QTest::newRow("bad enumeration") << QStringList{QStringLiteral("session"), QStringLiteral("proto=TCP (6)")}
                                     << QStringLiteral("any, tcp, udp, icmp, gre, esp");
    QTest::newRow("argument without =") << QStringList{QStringLiteral("session"), QStringLiteral("10.1.1.1")}
                                        << QStringLiteral("FIELD=VALUE");
    QTest::newRow("verbose by number") << QStringList{QStringLiteral("sniffer"), QStringLiteral("verbose=4")}
                                       << QStringLiteral("v1, v2, v3, v4, v5, v6");
    QTest::newRow("timestamp by label") << QStringList{QStringLiteral("sniffer"),
                                                       QStringLiteral("timestamp=Absolute UTC (a)")}
                                        << QStringLiteral("relative, absoluteUTC, absoluteLocal");
    QTest::newRow("direction by label") << QStringList{QStringLiteral("sniffer"), QStringLiteral("hostMode=Source")}
                                        << QStringLiteral("any, src, dst");
    QTest::newRow("sniffer flag") << QStringList{QStringLiteral("sniffer"), QStringLiteral("useCustomFilter=custom")}
                                  << QStringLiteral("true or false");
    // Whatever was typed or pasted, the message stays one short line that does nothing to the terminal.
    QTest::newRow("value with line breaks and escapes")
        << QStringList{QStringLiteral("session"), QStringLiteral("stats=a\nb\r\tc\x1b[31m\\\u2028\u202e")}
        << QStringLiteral("'a\\nb\\r\\tc\\x1b[31m\\\\\\u2028\\u202e'");
    QTest::newRow("long value") << QStringList{QStringLiteral("ping"), QString(5000, u'x') + QStringLiteral("=1")}
                                << u'\'' + QString(80, u'x') + QStringLiteral("\u2026'");
    QTest::newRow("category with a line break") << QStringList{QStringLiteral("ping\n")} << QStringLiteral("'ping\\n'");
}

void TestCli::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(QString::fromUtf8(r.err).contains(mentions), r.err.constData());
    if (!arguments.isEmpty()) {
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.endsWith('\n') && !r.err.contains('\r') && !r.err.contains('\x1b') && r.err.size() < 600);
    }
}

void TestCli::fieldsListsEveryFieldWithDefault()
{
    const Run r = run({QStringLiteral("session"), QStringLiteral("--fields")});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 11); // heading + ten fields
    const auto line = [&](const QString &field) {
        for (const QString &l : lines) {
            if (l.section(u' ', 0, 0) == field)
                return l.simplified();
        }
        return QString();
    };
    QCOMPARE(line(QStringLiteral("src")), QStringLiteral("src text \"\""));
    QCOMPARE(line(QStringLiteral("proto")), QStringLiteral("proto enum any any, tcp, udp, icmp, gre, esp"));
    QCOMPARE(line(QStringLiteral("clearFirst")), QStringLiteral("clearFirst flag true"));
    QCOMPARE(line(QStringLiteral("stats")), QStringLiteral("stats flag false"));
}

void TestCli::snifferFields()
{
    const Run r = run({QStringLiteral("sniffer"), QStringLiteral("--fields")});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 14); // heading + thirteen fields
    QStringList shown;
    for (const QString &l : lines.mid(1))
        shown << l.simplified();
    QVERIFY(shown.contains(QStringLiteral("interface text \"any\"")));
    QVERIFY(shown.contains(QStringLiteral("customFilter multiline text \"\"")));
    QVERIFY(shown.contains(QStringLiteral("verbose enum v4 v1, v2, v3, v4, v5, v6")));
    QVERIFY(shown.contains(QStringLiteral("timestamp enum absoluteLocal relative, absoluteUTC, absoluteLocal")));
    QVERIFY(shown.contains(QStringLiteral("useCustomFilter flag false")));
}

void TestCli::helpListsTopics()
{
    const Run r = run({QStringLiteral("help")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
    QCOMPARE(lines.size(), 16); // fifteen topics and the final line feed
    QCOMPARE(lines.first().simplified(), QStringLiteral("overview Overview"));
    QCOMPARE(lines.at(1).simplified(), QStringLiteral("workflow Workflow & Output"));
    QCOMPARE(lines.at(5).simplified(), QStringLiteral("sniffer Sniffer & BPF Builder"));
    QCOMPARE(lines.at(12).simplified(), QStringLiteral("menuBar Menu Bar"));
    QCOMPARE(lines.at(14).simplified(), QStringLiteral("about About"));
    QCOMPARE(lines.last(), QString());
    // Titles start in one column.
    QCOMPARE(lines.at(0).indexOf(QStringLiteral("Overview")), lines.at(13).indexOf(QStringLiteral("Keyboard")));
}

void TestCli::helpPrintsArticle_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("expected");

    QTest::newRow("shortcuts") << QStringLiteral("shortcuts")
                               << QStringLiteral(u"Keyboard Shortcuts\n"
                                                 u"==================\n"
                                                 u"\n"
                                                 u"Global\n"
                                                 u"------\n"
                                                 u"\n"
                                                 u"\u2022 Ctrl+Shift+O \u2014 Open the main window (from tray menu).\n"
                                                 u"\u2022 Ctrl+? or F1 \u2014 Open this help window.\n"
                                                 u"\u2022 Ctrl+Q \u2014 Quit the app.\n"
                                                 u"\n"
                                                 u"Command Output panel\n"
                                                 u"--------------------\n"
                                                 u"\n"
                                                 u"\u2022 Ctrl+Shift+C \u2014 Copy the generated command to the "
                                                 u"clipboard.\n"
                                                 u"\u2022 Ctrl+Shift+S \u2014 Save the current command for later.\n"
                                                 u"\n"
                                                 u"BPF Builder\n"
                                                 u"-----------\n"
                                                 u"\n"
                                                 u"\u2022 Ctrl+Return \u2014 Add the current snippet to the filter.\n");
    QTest::newRow("sniffer")
        << QStringLiteral("sniffer")
        << QStringLiteral(
               u"Sniffer\n"
               u"=======\n"
               u"diagnose sniffer packet \u2014 with pcap-style filters\n"
               u"\n"
               u"Runs a packet capture on one or more FortiGate interfaces using tcpdump/BPF filter syntax.\n"
               u"\n"
               u"\u26a0 Disable ASIC / NPU offload first\n"
               u"----------------------------------\n"
               u"\n"
               u"On offload-capable FortiGates, hardware-accelerated sessions bypass the CPU-based sniffer after the "
               u"first few packets. If you only see the SYN and nothing else, the flow is being handled by NP/SP "
               u"hardware. Disable offload on the policy you're troubleshooting and re-create the session before "
               u"capturing:\n"
               u"\n"
               u"    config firewall policy\n"
               u"        edit <policy-id>\n"
               u"            set auto-asic-offload disable\n"
               u"        next\n"
               u"    end\n"
               u"\n"
               u"The Sniffer screen shows this reminder inline with a Copy Offload-Disable Snippet button. Remember "
               u"to re-enable offload when you're done, or performance will suffer.\n"
               u"\n"
               u"Interface\n"
               u"---------\n"
               u"\n"
               u"\u2022 Type any interface name \u2014 the field is free-text so port1.20, vlan100, guest-wifi, etc. "
               u"all work.\n"
               u"\u2022 Presets menu offers common names, and lets you save your own via Add Custom Interface\u2026 "
               u"\u2014 saved names persist across launches.\n"
               u"\u2022 Save Current as Custom\u2026 \u2014 pre-fills the sheet with whatever's in the text field.\n"
               u"\n"
               u"Verbose levels (0\u20136)\n"
               u"--------------------\n"
               u"\n"
               u"\u2022 1 \u2014 headers only\n"
               u"\u2022 2 \u2014 headers + IP data\n"
               u"\u2022 3 \u2014 headers + Ethernet data\n"
               u"\u2022 4 \u2014 headers + interface names (default)\n"
               u"\u2022 5 \u2014 IP data + interface names\n"
               u"\u2022 6 \u2014 Ethernet data + interface names (full pcap)\n"
               u"\n"
               u"Filter \u2014 simple vs BPF mode\n"
               u"---------------------------\n"
               u"\n"
               u"With Use custom BPF filter expression off, the app shows a simple builder with Host / Network / "
               u"Port / Protocol and a src/dst/either selector for each.\n"
               u"\n"
               u"Turn the toggle on to get the BPF Builder: presets for common expressions and a snippet builder for "
               u"BPF-only primitives (MAC address, VLAN, TCP flags, ICMP types, ether/ip proto numbers). Snippets are "
               u"combined with your chosen AND/OR operator, optionally wrapped in parens, and optionally negated.\n"
               u"\n"
               u"BPF Builder controls\n"
               u"--------------------\n"
               u"\n"
               u"\u2022 Presets \u2014 one-click TCP SYN, TCP RST, New TCP (SYN without ACK), ICMP ping, ARP, VLAN, "
               u"IPv6, Broadcast, Multicast.\n"
               u"\u2022 Snippet type \u2014 Host / Network / Port / Protocol / Ethernet host / VLAN / TCP flag / ICMP "
               u"type / Ether broadcast / Ether multicast / IP version / Ether protocol # / IP protocol #.\n"
               u"\u2022 Negate \u2014 wraps the fragment as not (...).\n"
               u"\u2022 Wrap in parens \u2014 protects operator precedence when combining.\n"
               u"\u2022 Combine with \u2014 AND / OR used when appending onto an existing expression.\n"
               u"\u2022 Add to Filter (Ctrl+Return) \u2014 appends the current snippet; Clear Filter empties the text "
               u"field.\n"
               u"\n"
               u"Example\n"
               u"-------\n"
               u"\n"
               u"    diagnose sniffer packet any '(tcp) and (src host 10.0.0.1) and ((dst port 80 or dst port 443))' 4 "
               u"0 l\n");
}

void TestCli::helpPrintsArticle()
{
    QFETCH(QString, topic);
    QFETCH(QString, expected);
    const Run r = run({QStringLiteral("help"), topic});
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    const QStringList actualLines = QString::fromUtf8(r.out).split(u'\n');
    QCOMPARE(actualLines, expected.split(u'\n'));
}

void TestCli::helpNamesTheSettingsFile()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("BRINDLECAP_SETTINGS"), QStringLiteral("/nonexistent/portable/settings.conf"));
    const Run r = run({QStringLiteral("help"), QStringLiteral("saved")}, environment);
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains("Entries are persisted in the saved-commands file "
                            "(/nonexistent/portable/saved-commands.json) and survive relaunches.\n"),
             r.out.constData());
    QVERIFY(!QFileInfo::exists(QStringLiteral("/nonexistent/portable/settings.conf")));
}

void TestCli::helpErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("unknown topic") << QStringList{QStringLiteral("help"), QStringLiteral("nope")}
                                   << QStringLiteral("unknown help topic 'nope'");
    QTest::newRow("topic by title") << QStringList{QStringLiteral("help"), QStringLiteral("Sniffer")}
                                    << QStringLiteral("'Sniffer'");
    QTest::newRow("case name is case-sensitive")
        << QStringList{QStringLiteral("help"), QStringLiteral("menubar")} << QStringLiteral("'menubar'");
    QTest::newRow("two topics") << QStringList{QStringLiteral("help"), QStringLiteral("ping"), QStringLiteral("ha")}
                                << QStringLiteral("one topic");
}

void TestCli::helpErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.contains(mentions), r.err.constData());
    QVERIFY2(err.contains(QStringLiteral("overview, workflow, sessions, ping, traceroute, sniffer, flow, vpn, top, ha, "
                                         "routing, saved, menuBar, shortcuts, about\n")),
             r.err.constData());
    QCOMPARE(err.count(u'\n'), 1);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
