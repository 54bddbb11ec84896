#include "filtercheck/filtercheck.h"

#include <QMutex>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Status = FilterCheck::Status;

namespace {
// Generous: the machine running the tests may be busy.
constexpr int patience = 60000;

// Stands in for libpcap: "slow" blocks until released, "bad" is invalid, anything else valid. Records
// what it was asked to compile.
struct FakeCompiler {
    QMutex mutex;
    QStringList asked;
    QSemaphore entered, released;

    FilterCheck::Compiler function()
    {
        return [this](const QString &text) {
            QMutexLocker lock(&mutex);
            asked << text;
            lock.unlock();
            if (text == u"slow") {
                entered.release();
                released.acquire();
            }
            return PcapFilter::Result{text != u"bad", text == u"bad" ? u"bad filter"_s : QString()};
        };
    }
    QStringList compiled()
    {
        QMutexLocker lock(&mutex);
        return asked;
    }
};
} // namespace

class TestFilterCheck : public QObject
{
    Q_OBJECT

private slots:
    void libpcapJudgesTheFilter();
    void onlyTheLatestTextCounts();
    void warnings_data();
    void warnings();
};

void TestFilterCheck::libpcapJudgesTheFilter()
{
    FilterCheck check;
    QCOMPARE(check.status(), Status::empty);
    QSignalSpy changed(&check, &FilterCheck::statusChanged);
    check.check(u"host and port"_s);
    QTRY_COMPARE_WITH_TIMEOUT(check.status(), Status::invalid, patience);
    QVERIFY2(check.message().contains(u"syntax error"), qPrintable(check.message()));
    QCOMPARE(check.message(), PcapFilter::compile(u"host and port"_s).message);
    QCOMPARE(changed.size(), 2); // checking, then the result

    // A good filter after a bad one clears the message.
    check.check(u"tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)"_s);
    QTRY_COMPARE_WITH_TIMEOUT(check.status(), Status::valid, patience);
    QCOMPARE(check.message(), QString());
    QCOMPARE(check.text(), u"tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)"_s);
}

// While the worker is busy with "slow", texts are superseded, emptied and their checks destroyed: nothing
// of that is compiled or shown, and every result reaches every check.
void TestFilterCheck::onlyTheLatestTextCounts()
{
    FakeCompiler compiler;
    FilterCheck emptied(compiler.function()), typed(compiler.function());
    emptied.check(u"slow"_s);
    QVERIFY(compiler.entered.tryAcquire(1, patience));
    QSignalSpy emptiedChanged(&emptied, &FilterCheck::statusChanged);
    emptied.check(QString());
    QCOMPARE(emptied.status(), Status::empty);

    QList<std::pair<QString, Status>> seen;
    connect(&typed, &FilterCheck::statusChanged, this, [&] { seen.append({typed.text(), typed.status()}); });
    typed.check(u"skipped"_s);
    typed.check(u"bad"_s);
    auto doomed = std::make_unique<FilterCheck>(compiler.function());
    doomed->check(u"never"_s);
    doomed.reset();
    compiler.released.release(); // "slow" now finishes as valid, but no check holds that text any more

    QTRY_COMPARE_WITH_TIMEOUT(typed.status(), Status::invalid, patience);
    QCOMPARE(typed.text(), u"bad"_s);
    QCOMPARE(typed.message(), u"bad filter"_s);
    QCOMPARE(compiler.compiled(), (QStringList{u"slow"_s, u"bad"_s}));
    for (const auto &[text, status] : seen)
        QVERIFY2(status != Status::valid, qPrintable(text)); // the result for "slow" never showed
    QCOMPARE(seen.size(), 3);                                // twice checking, one result
    QCOMPARE(emptied.status(), Status::empty);
    QCOMPARE(emptiedChanged.size(), 1);

    // The text already checked is not checked again.
    typed.check(u"bad"_s);
    QCOMPARE(seen.size(), 3);
    QCOMPARE(compiler.compiled().size(), 2);
}

void TestFilterCheck::warnings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QString lineBreak = FilterCheck::lineBreakWarning(), quote = FilterCheck::singleQuoteWarning();
    QTest::newRow("plain") << u"host 10.0.0.1 and port 443"_s << QStringList{};
    QTest::newRow("carriage return inside") << u"tcp\rport 80"_s << QStringList{lineBreak};
    QTest::newRow("Unicode line separator") << u"tcp\u2028port 80"_s << QStringList{lineBreak};
    QTest::newRow("single quote") << u"port '22'"_s << QStringList{quote};
    QTest::newRow("both") << u"host 1.1.1.1\n and port '22'"_s << QStringList{lineBreak, quote};
    QTest::newRow("typographic quotes are harmless") << u"port \u201822\u2019"_s << QStringList{};
}

void TestFilterCheck::warnings()
{
    QFETCH(QString, text);
    FilterCheck check;
    check.check(text);
    QTEST(check.warnings(), "expected"); // known at once, before libpcap answers
}

QTEST_GUILESS_MAIN(TestFilterCheck)
#include "tst_filtercheck.moc"
