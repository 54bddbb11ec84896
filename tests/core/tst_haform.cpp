#include "builders/haform.h"

#include <QTest>

class TestHAForm : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommand_data();
    void generatedCommand();
};

namespace {

const QStringList stopBlock = {QString(), QStringLiteral("# When finished, stop the debug:"),
                               QStringLiteral("diagnose debug disable"), QStringLiteral("diagnose debug reset")};

const QStringList statusLines = {QStringLiteral("get system ha status"), QStringLiteral("diagnose sys ha status"),
                                 QStringLiteral("diagnose sys ha checksum cluster")};

HAForm bare()
{
    HAForm f;
    f.showStatus = false;
    f.showChecksum = false;
    return f;
}

HAForm manage(const QString &index, const QString &admin)
{
    HAForm f = bare();
    f.manageIndex = index;
    f.manageAdmin = admin;
    return f;
}

} // namespace

void TestHAForm::generatedCommand_data()
{
    QTest::addColumn<HAForm>("form");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << HAForm{} << statusLines;

    HAForm worked;
    worked.manageIndex = QStringLiteral("1");
    worked.manageAdmin = QStringLiteral("admin");
    worked.debugHatalk = true;
    QTest::newRow("worked example") << worked
                                    << statusLines +
                                           QStringList{QStringLiteral("execute ha manage 1 admin"),
                                                       QString(),
                                                       QStringLiteral("# Live HA debug:"),
                                                       QStringLiteral("diagnose debug console timestamp enable"),
                                                       QStringLiteral("diagnose debug application hatalk -1"),
                                                       QStringLiteral("diagnose debug enable")} +
                                           stopBlock;

    QTest::newRow("everything off is empty") << bare() << QStringList{};

    QTest::newRow("admin without index: no manage line") << manage({}, QStringLiteral("admin")) << QStringList{};
    QTest::newRow("blank index: no manage line")
        << manage(QStringLiteral(" \t\u00A0\u3000"), QStringLiteral("admin")) << QStringList{};
    QTest::newRow("index trimmed, no admin")
        << manage(QStringLiteral(" 2 "), {}) << QStringList{QStringLiteral("execute ha manage 2")};
    QTest::newRow("admin trimmed") << manage(QStringLiteral("2"), QStringLiteral("\tadmin "))
                                   << QStringList{QStringLiteral("execute ha manage 2 admin")};
    QTest::newRow("blank admin dropped") << manage(QStringLiteral("\u30003\u3000"), QStringLiteral("\u00A0 \t"))
                                         << QStringList{QStringLiteral("execute ha manage 3")};
    QTest::newRow("inner space of admin kept") << manage(QStringLiteral("1"), QStringLiteral(" a b "))
                                               << QStringList{QStringLiteral("execute ha manage 1 a b")};

    HAForm hasync = bare();
    hasync.debugHasync = true;
    QTest::newRow("hasync alone: leading empty line")
        << hasync
        << QStringList{QString(), QStringLiteral("# Live HA debug:"),
                       QStringLiteral("diagnose debug console timestamp enable"),
                       QStringLiteral("diagnose debug application hasync -1"),
                       QStringLiteral("diagnose debug enable")} +
               stopBlock;

    HAForm both = bare();
    both.debugHasync = true;
    both.debugHatalk = true;
    both.timestamps = false;
    both.includeStopBlock = false;
    QTest::newRow("both daemons, one enable, no timestamps, no stop block")
        << both
        << QStringList{QString(), QStringLiteral("# Live HA debug:"),
                       QStringLiteral("diagnose debug application hatalk -1"),
                       QStringLiteral("diagnose debug application hasync -1"), QStringLiteral("diagnose debug enable")};

    HAForm noDaemon = bare();
    noDaemon.timestamps = true;
    noDaemon.includeStopBlock = true;
    QTest::newRow("debug options alone add nothing (on)") << noDaemon << QStringList{};
    noDaemon.timestamps = false;
    noDaemon.includeStopBlock = false;
    noDaemon.showChecksum = true;
    QTest::newRow("debug options alone add nothing (off)")
        << noDaemon << QStringList{QStringLiteral("diagnose sys ha checksum cluster")};

    HAForm all;
    all.showNonSync = true;
    all.showDump = true;
    all.syncAll = true;
    all.resetUptime = true;
    all.manageIndex = QStringLiteral("0");
    all.debugHatalk = true;
    all.debugHasync = true;
    QTest::newRow("everything, uptime reset before sync")
        << all
        << statusLines +
               QStringList{QStringLiteral("diagnose sys ha checksum show global"),
                           QStringLiteral("diagnose sys ha checksum show root"),
                           QStringLiteral("diagnose sys ha dump-by all-vcluster"),
                           QStringLiteral("diagnose sys ha dump-by group"),
                           QStringLiteral("diagnose sys ha dump-by vcluster"),
                           QStringLiteral("diagnose sys ha reset-uptime"),
                           QStringLiteral("execute ha synchronize all"),
                           QStringLiteral("execute ha manage 0"),
                           QString(),
                           QStringLiteral("# Live HA debug:"),
                           QStringLiteral("diagnose debug console timestamp enable"),
                           QStringLiteral("diagnose debug application hatalk -1"),
                           QStringLiteral("diagnose debug application hasync -1"),
                           QStringLiteral("diagnose debug enable")} +
               stopBlock;

    HAForm actions = bare();
    actions.syncAll = true;
    actions.showChecksum = true;
    QTest::newRow("checksum then sync") << actions
                                        << QStringList{QStringLiteral("diagnose sys ha checksum cluster"),
                                                       QStringLiteral("execute ha synchronize all")};
}

void TestHAForm::generatedCommand()
{
    QFETCH(HAForm, form);
    QFETCH(QStringList, expected);
    QCOMPARE(form.generatedCommand(), expected.join(u'\n'));
    QCOMPARE(form.title(), QStringLiteral("HA Troubleshooting"));
}

QTEST_GUILESS_MAIN(TestHAForm)
#include "tst_haform.moc"
