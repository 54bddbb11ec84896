#include "builders/fieldadvice.h"
#include "filtercheck/filtercheck.h"

#include <QMutex>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <arpa/inet.h>
#include <cstring>
#include <dlfcn.h>
#include <netdb.h>
#include <netinet/ether.h>
#include <pcap/pcap.h>

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
// Every name libpcap looks up, counted; for the reference reading only, each resolves to documentation
// addresses, as a name the appliance knows would there.
std::atomic_int lookups = 0;
std::atomic_bool resolving = false;

bool numeric(const char *node)
{
    unsigned char address[16];
    return inet_pton(AF_INET, node, address) == 1 || inet_pton(AF_INET6, node, address) == 1;
}

// libpcap's verdict on the filter as written, wherever a name resolves.
PcapFilter::Result reference(const QString &filter)
{
    resolving = true;
    pcap_t *handle = pcap_open_dead(DLT_EN10MB, 65535);
    bpf_program program{};
    const bool valid = pcap_compile(handle, &program, filter.toUtf8().constData(), 1, PCAP_NETMASK_UNKNOWN) == 0;
    const QString message = valid ? QString() : QString::fromUtf8(pcap_geterr(handle));
    if (valid)
        pcap_freecode(&program);
    pcap_close(handle);
    resolving = false;
    return {valid, message};
}
} // namespace

extern "C" int getaddrinfo(const char *node, const char *service, const addrinfo *hints, addrinfo **result)
{
    using Function = int (*)(const char *, const char *, const addrinfo *, addrinfo **);
    static const auto resolve = reinterpret_cast<Function>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (!node || numeric(node))
        return resolve(node, service, hints, result);
    ++lookups;
    addrinfo numericHints = hints ? *hints : addrinfo{};
    numericHints.ai_flags |= AI_NUMERICHOST;
    // A name has an IPv4 and an IPv6 address, but one with "v4" in it an IPv4 one only.
    addrinfo *v4 = nullptr, *v6 = nullptr;
    if (!resolving || resolve("192.0.2.1", service, &numericHints, &v4) != 0)
        return EAI_NONAME;
    if (!std::strstr(node, "v4") && resolve("2001:db8::1", service, &numericHints, &v6) == 0)
        v4->ai_next = v6; // one address: the list ends with it
    *result = v4;
    return 0;
}

extern "C" int getnetbyname_r(const char *name, netent *entry, char *, size_t, netent **result, int *)
{
    ++lookups;
    *entry = {const_cast<char *>(name), nullptr, AF_INET, 0xC0000200};
    *result = resolving ? entry : nullptr;
    return 0;
}

extern "C" int ether_hostton(const char *, ether_addr *address)
{
    ++lookups;
    *address = {{0x00, 0x00, 0x5e, 0x00, 0x53, 0x01}};
    return resolving ? 0 : -1;
}

class TestFilterCheck : public QObject
{
    Q_OBJECT

private slots:
    void libpcapJudgesTheFilter();
    void namesAreNeverLookedUp_data();
    void namesAreNeverLookedUp();
    void hostAdviceAgreesWithTheVerdict();
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

void TestFilterCheck::namesAreNeverLookedUp_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("valid"); // -1: as libpcap judges it where every name resolves
    const auto row = [](const char *name, const QString &filter, int valid) { QTest::newRow(name) << filter << valid; };
    row("host, net and ether names", u"host gw1.corp.example and net lab-net and ether host router-mac"_s, 1);
    row("after a prefix or a mask", u"dst net 10.0.0.0/8 or lab-net or net 10.0.0.0 mask 255.0.0.0 or lab2"_s, 1);
    row("bare names after a qualifier", u"host a or b and (c or not d)"_s, 1);
    row("IPv6 host", u"ip6 host fw-v6 and not ip host fw-v4"_s, 1);
    row("ARP host, as one with an IPv4 address", u"arp host fw-v4"_s, 1);
    row("gateway, which libpcap with IPv6 does not support", u"ip gateway gw or backup-gw"_s, 0);
    row("name with no qualifier", u"tcp and fw-core-01"_s, 0);
    row("name after a parenthesis", u"(host 1.2.3.4) or fw-core-01"_s, 0);
    row("port and protocol names", u"tcp port ssh or ip proto \\udp"_s, 1);
    row("keyword as a name", u"host sc"_s, 0);
    // And any filter made of qualifiers, names, addresses and operators.
    const QStringList qualifiers{{},           u"host"_s,     u"net"_s,        u"src"_s,       u"dst net"_s,
                                 u"gateway"_s, u"ip6 host"_s, u"ether host"_s, u"ether src"_s, u"tcp port"_s,
                                 u"tcp"_s,     u"ip"_s};
    const QStringList operands{u"fw-core-01"_s,  u"gw1.corp.example"_s,  u"lab-net"_s,    u"10.0.0.1"_s,
                               u"2001:db8::5"_s, u"00:11:22:33:44:55"_s, u"10.0.0.0/8"_s, u"80"_s};
    const QStringList joins{u" and "_s, u" or "_s, u" and not "_s, u" || "_s, u" ("_s, u") and "_s};
    QRandomGenerator random(20261207);
    const auto pick = [&random](const QStringList &from) { return from.at(random.bounded(from.size())); };
    for (int i = 0; i < 400; ++i) {
        QString made = pick(qualifiers) + u' ' + pick(operands);
        for (int terms = random.bounded(4); terms > 0; --terms) {
            made += pick(joins); // one at a time: the same filters whatever the compiler's order
            made += random.bounded(2) ? pick(qualifiers) + u' ' : QString();
            made += pick(operands);
        }
        QTest::addRow("random %d", i) << made << -1;
    }
}

// Valid where libpcap, with every name resolving, says so, and no name is looked up on the way.
void TestFilterCheck::namesAreNeverLookedUp()
{
    QFETCH(QString, filter);
    QFETCH(int, valid);
    const PcapFilter::Result expected = reference(filter);
    QVERIFY2(valid < 0 || expected.valid == bool(valid), qPrintable(expected.message));
    lookups = 0;
    const PcapFilter::Result checked = PcapFilter::compile(filter);
    QCOMPARE(lookups.load(), 0);
    QVERIFY2(checked.valid == expected.valid, qPrintable(checked.message + u" / "_s + expected.message));
}

// The advice on a capture filter's host and libpcap's verdict on "host VALUE" never disagree.
void TestFilterCheck::hostAdviceAgreesWithTheVerdict()
{
    for (const QString &value : {u"10.0.0.1"_s, u"10.1"_s, u"10"_s, u"010.1.1.1"_s, u"10.0.0.256"_s, u"256.1"_s,
                                 u"2001:db8::1"_s, u"::ffff:1.2.3.4"_s, u"fe80::1%port1"_s, u"2001:db8::zz"_s,
                                 u"fw-core-01"_s, u"gw1.corp.example"_s, u"fw_1"_s, u"a b"_s, u"-x"_s, u"x-"_s}) {
        const bool advised = !Advice::about(Advice::Expect::filterHost, value, false).isEmpty();
        QVERIFY2(advised != PcapFilter::compile(u"host "_s + value).valid, qPrintable(value));
    }
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
