#include "filtercheck/filtercheck.h"

#include <QMutex>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

using Status = FilterCheck::Status;

namespace {
// Generous: a DNS lookup without a network can take many seconds before libpcap gives up.
constexpr int patience = 60000;

// Stands in for libpcap: "slow" blocks until released, "bad" is invalid, anything else valid. Records
// what it was asked to compile.
class FakeCompiler
{
public:
    FilterCheck::Compiler function()
    {
        return [this](const QString &text) {
            {
                QMutexLocker lock(&m_mutex);
                m_compiled << text;
            }
            if (text == QLatin1String("slow")) {
                m_entered.release();
                m_release.acquire();
            }
            if (text == QLatin1String("bad"))
                return PcapFilter::Result{false, QStringLiteral("bad filter")};
            return PcapFilter::Result{true, {}};
        };
    }
    bool waitUntilBlocked() { return m_entered.tryAcquire(1, patience); }
    void release() { m_release.release(); }
    QStringList compiled()
    {
        QMutexLocker lock(&m_mutex);
        return m_compiled;
    }

private:
    QMutex m_mutex;
    QStringList m_compiled;
    QSemaphore m_entered;
    QSemaphore m_release;
};
} // namespace

class TestFilterCheck : public QObject
{
    Q_OBJECT

private slots:
    void libpcapJudgesTheFilter();
    void staleResultsAreDropped();
    void destroyedCheckIsSkipped();
    void emptyTextNeedsNoCheck();
    void warnings_data();
    void warnings();
};

void TestFilterCheck::libpcapJudgesTheFilter()
{
    FilterCheck check;
    QCOMPARE(check.status(), Status::empty);
    QSignalSpy changed(&check, &FilterCheck::statusChanged);
    check.check(QStringLiteral("host and port"));
    QTRY_COMPARE_WITH_TIMEOUT(check.status(), Status::invalid, patience);
    QVERIFY2(check.message().contains(QLatin1String("syntax error")), qPrintable(check.message()));
    QCOMPARE(check.message(), PcapFilter::compile(QStringLiteral("host and port")).message);
    QCOMPARE(changed.size(), 2); // checking, then the result

    // A good filter after a bad one clears the message.
    check.check(QStringLiteral("tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)"));
    QTRY_COMPARE_WITH_TIMEOUT(check.status(), Status::valid, patience);
    QCOMPARE(check.message(), QString());
    QCOMPARE(check.text(), QStringLiteral("tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)"));

    // check() hands the work on and returns: a name is looked up on the worker, and may not resolve.
    check.check(QStringLiteral("host no-such-host.invalid"));
    QCOMPARE(check.status(), Status::checking);
    QTRY_COMPARE_WITH_TIMEOUT(check.status(), Status::invalid, patience);
    QVERIFY2(check.message().contains(QLatin1String("no-such-host.invalid")), qPrintable(check.message()));
}

void TestFilterCheck::staleResultsAreDropped()
{
    FakeCompiler compiler;
    FilterCheck check(compiler.function());
    QList<std::pair<QString, Status>> seen;
    connect(&check, &FilterCheck::statusChanged, this, [&] { seen.append({check.text(), check.status()}); });

    check.check(QStringLiteral("slow"));
    QVERIFY(compiler.waitUntilBlocked());
    // Typed while the worker is busy: the first is superseded before its turn comes.
    check.check(QStringLiteral("skipped"));
    check.check(QStringLiteral("bad"));
    compiler.release(); // "slow" now finishes as valid, but the text is no longer "slow"

    QTRY_COMPARE_WITH_TIMEOUT(check.status(), Status::invalid, patience);
    QCOMPARE(check.text(), QStringLiteral("bad"));
    QCOMPARE(check.message(), QStringLiteral("bad filter"));
    QCOMPARE(compiler.compiled(), (QStringList{QStringLiteral("slow"), QStringLiteral("bad")}));
    for (const auto &[text, status] : seen)
        QVERIFY2(status != Status::valid, qPrintable(text)); // the result for "slow" never showed
    QCOMPARE(seen.size(), 4);                                // three times checking, one result

    // The text already checked is not checked again.
    check.check(QStringLiteral("bad"));
    QCOMPARE(seen.size(), 4);
    QCOMPARE(compiler.compiled().size(), 2);
}

void TestFilterCheck::destroyedCheckIsSkipped()
{
    FakeCompiler compiler;
    FilterCheck keeper(compiler.function());
    keeper.check(QStringLiteral("slow"));
    QVERIFY(compiler.waitUntilBlocked());

    auto doomed = std::make_unique<FilterCheck>(compiler.function());
    doomed->check(QStringLiteral("never"));
    doomed.reset();
    keeper.check(QStringLiteral("after"));
    compiler.release();

    QTRY_COMPARE_WITH_TIMEOUT(keeper.status(), Status::valid, patience);
    QCOMPARE(keeper.text(), QStringLiteral("after"));
    QCOMPARE(compiler.compiled(), (QStringList{QStringLiteral("slow"), QStringLiteral("after")}));
}

void TestFilterCheck::emptyTextNeedsNoCheck()
{
    FakeCompiler compiler;
    FilterCheck check(compiler.function());
    check.check(QStringLiteral("slow"));
    QVERIFY(compiler.waitUntilBlocked());
    QSignalSpy changed(&check, &FilterCheck::statusChanged);
    check.check(QString());
    QCOMPARE(check.status(), Status::empty);
    QCOMPARE(changed.size(), 1);

    // The result for "slow" comes in after the text was emptied and must not count. A later check
    // shows that the worker has gone past it.
    compiler.release();
    FilterCheck marker(compiler.function());
    marker.check(QStringLiteral("tcp"));
    QTRY_COMPARE_WITH_TIMEOUT(marker.status(), Status::valid, patience);
    QCOMPARE(check.status(), Status::empty);
    QCOMPARE(changed.size(), 1);
}

void TestFilterCheck::warnings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QString lineBreak = FilterCheck::lineBreakWarning();
    const QString quote = FilterCheck::singleQuoteWarning();
    QTest::newRow("plain") << QStringLiteral("host 10.0.0.1 and port 443") << QStringList{};
    QTest::newRow("carriage return inside") << QStringLiteral("tcp\rport 80") << QStringList{lineBreak};
    QTest::newRow("Unicode line separator") << QStringLiteral("tcp\u2028port 80") << QStringList{lineBreak};
    QTest::newRow("single quote") << QStringLiteral("port '22'") << QStringList{quote};
    QTest::newRow("both") << QStringLiteral("host 1.1.1.1\n and port '22'") << QStringList{lineBreak, quote};
    QTest::newRow("typographic quotes are harmless") << QStringLiteral("port \u201822\u2019") << QStringList{};
}

void TestFilterCheck::warnings()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    FakeCompiler compiler;
    FilterCheck check(compiler.function());
    check.check(text);
    QCOMPARE(check.warnings(), expected);                                   // known at once, before libpcap answers
    QTRY_VERIFY_WITH_TIMEOUT(check.status() != Status::checking, patience); // the compiler is still in use
}

QTEST_GUILESS_MAIN(TestFilterCheck)
#include "tst_filtercheck.moc"
