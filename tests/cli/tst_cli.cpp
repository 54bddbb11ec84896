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

private:
    struct Run {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    static Run run(const QStringList &arguments)
    {
        QProcess process;
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
}

void TestCli::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(QString::fromUtf8(r.err).contains(mentions), r.err.constData());
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
