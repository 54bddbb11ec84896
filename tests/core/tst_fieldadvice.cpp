// Advice on what a field holds: the rules value by value, and across every form that no default draws
// advice and that anything invisible reaching a command does.

#include "builders/bpfbuilderform.h"
#include "builders/categoryforms.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Advice::Expect;

class TestFieldAdvice : public QObject
{
    Q_OBJECT

    template <typename Form> static void checkForm(const QString &name)
    {
        const Form defaults{};
        QVERIFY2(Fields::advice(defaults).isEmpty(), qPrintable(name));
        // The defaults, and each with one choice changed: the modes in which fields reach the command.
        QList<Form> modes{defaults};
        for (const auto &choice : Form::fields()) {
            for (const QString &value :
                 choice.kind == FieldKind::Flag ? QStringList{u"true"_s, u"false"_s} : choice.choices)
                choice.set(modes.emplace_back(defaults), value);
        }
        for (const Form &mode : std::as_const(modes)) {
            for (const auto &field : Form::fields()) {
                if (field.kind != FieldKind::Text && field.kind != FieldKind::MultiLineText)
                    continue;
                // Advice on the tab exactly when it reaches the command, inside the text or before it where
                // the form keeps surrounding white space; the form itself is the judge of that.
                for (const QString &value : {u"a\tb"_s, u"\tb"_s}) {
                    Form form = mode;
                    field.set(form, value);
                    const bool pasted = form.generatedCommand().contains(value);
                    const QString advice = Fields::adviceOn(form, field);
                    QVERIFY2(advice.contains(u"a tab"_s) == pasted,
                             qPrintable(name + u' ' + field.name + u' ' + advice));
                }
            }
        }
    }

private slots:
    void rules_data()
    {
        QTest::addColumn<Expect>("expect");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("asTyped");
        QTest::addColumn<QString>("advice"); // a part of it; empty for none
        const auto row = [](const char *name, Expect e, const QString &v, bool asTyped, const QString &advice) {
            QTest::newRow(name) << e << v << asTyped << advice;
        };
        row("v4", Expect::address, u"10.0.0.1"_s, true, {});
        row("v6 loopback", Expect::address, u"::1"_s, true, {});
        row("v6 zone", Expect::address, u"fe80::1%port1"_s, true, {});
        row("octet > 255", Expect::address, u"10.0.0.256"_s, true, u"Not an IPv4 or IPv6 address"_s);
        row("short v4", Expect::address, u"10.1"_s, true, u"Not an IPv4"_s);
        row("v4 zone", Expect::address, u"10.0.0.1%port1"_s, true, u"Not an IPv4"_s);
        row("NUL", Expect::address, u"10.0.0.1\u0000x"_s, true, u"Not an IPv4"_s);
        row("range dash", Expect::addressRange, u"10.0.0.1-10.0.0.9"_s, true, {});
        row("range space", Expect::addressRange, u"10.0.0.1 10.0.0.9"_s, true, {});
        row("range bad", Expect::addressRange, u"10.0.0.1-x"_s, true, u"two for a range"_s);
        row("host name", Expect::host, u"fw-1.example.com"_s, true, {});
        row("host v6", Expect::host, u"2001:db8::1"_s, true, {});
        row("host typo", Expect::host, u"10.0.0.256"_s, true, u"Not an IPv4 address"_s);
        row("host space", Expect::host, u"a b"_s, true, u"host name"_s);
        row("net", Expect::subnet, u"10.0.0.0/24"_s, true, {});
        row("net partial", Expect::subnet, u"192.168"_s, true, {});
        row("net v6", Expect::subnet, u"2001:db8::/32"_s, true, {});
        row("net host bits", Expect::subnet, u"10.0.0.1/24"_s, true, u"the network is 10.0.0.0/24"_s);
        row("net v6 host bits", Expect::subnet, u"2001:db8::1/64"_s, true, u"the network is 2001:db8::/64"_s);
        row("net length", Expect::subnet, u"10.0.0.0/33"_s, true, u"0 to 32"_s);
        row("prefix or address", Expect::addressOrPrefix, u"10.2.0.0/16"_s, true, {});
        row("port 0", Expect::port, u"0"_s, true, u"1 to 65535"_s);
        row("port max", Expect::port, u"65535"_s, true, {});
        row("port word", Expect::port, u"https"_s, true, u"whole number"_s);
        row("port range", Expect::portRange, u"1000-2000"_s, true, {});
        row("port range high", Expect::portRange, u"1000 70000"_s, true, u"1 to 65535"_s);
        row("port list", Expect::portList, u"80, 443,,domain"_s, true, {});
        row("port list high", Expect::portList, u"80,443,65536"_s, true, u"1 to 65535"_s);
        row("port list dash", Expect::portList, u"80-90"_s, true, u"Not a port number"_s);
        row("byte 0", Expect::byte, u"0"_s, true, {});
        row("byte 255", Expect::byte, u"255"_s, true, {});
        row("byte 256", Expect::byte, u"256"_s, true, u"0 to 255"_s);
        row("ttl 0", Expect::ttl, u"0"_s, true, u"1 to 255"_s);
        row("vlan", Expect::vlan, u"4095"_s, true, {});
        row("vlan high", Expect::vlan, u"4096"_s, true, u"0 to 4095"_s);
        row("whole 0", Expect::whole, u"0"_s, true, {});
        row("whole huge", Expect::whole, u"123456789012345678901234567890"_s, true, {});
        row("whole negative", Expect::whole, u"-1"_s, true, u"whole number"_s);
        row("whole other digits", Expect::whole, u"\u0663"_s, true, u"whole number"_s);
        row("count 0", Expect::count, u"0"_s, true, u"start at 1"_s);
        row("hex", Expect::hex, u"0xFF00"_s, true, {});
        row("hex bad", Expect::hex, u"fg"_s, true, u"hexadecimal"_s);
        row("name", Expect::name, u"to-branch_1"_s, true, {});
        row("name space", Expect::name, u"to branch"_s, true, u"two arguments"_s);
        row("interface 15", Expect::interfaceName, u"abcdefghijklmno"_s, true, {});
        row("interface 16", Expect::interfaceName, u"abcdefghijklmnop"_s, true, u"15 characters"_s);
        row("tab inside", Expect::anything, u"a\tb"_s, false, u"a tab"_s);
        row("tab at end, trimmed", Expect::anything, u"a\t"_s, false, {});
        row("tab at end, as typed", Expect::anything, u"a\t"_s, true, u"a tab"_s);
        row("no-break space", Expect::anything, u"a\u00a0b"_s, false, u"(U+00A0)"_s);
        row("zero width", Expect::address, u"10.0.0.1\u200b"_s, false, u"(U+200B)"_s);
        row("leading space", Expect::port, u" 443"_s, true, u"starts with a space"_s);
        row("trailing space", Expect::anything, u"x "_s, true, u"ends with a space"_s);
        row("spaces trimmed", Expect::port, u" 443 "_s, false, {});
        row("v4 only", Expect::ipv4, u"10.0.0.1"_s, true, {});
        row("v6 for v4", Expect::ipv4, u"2001:db8::5"_s, true, u"IPv6 address where IPv4"_s);
        row("mac", Expect::mac, u"0011.2233.4455"_s, true, {});
        row("mac bad", Expect::mac, u"00:11:22:33:44:zz"_s, true, u"Not a MAC address"_s);
        row("ethertype", Expect::etherType, u"0x0806"_s, true, {});
        row("ethertype bad", Expect::etherType, u"zz"_s, true, u"Not an EtherType"_s);
        row("debug all", Expect::debugLevel, u"-1"_s, true, {});
        row("debug bad", Expect::debugLevel, u"x"_s, true, u"Not a debug level"_s);
        row("port -1", Expect::portRange, u"-1"_s, true, u"1 to 65535"_s);
        row("lookup typo", Expect::addressOrPrefix, u"10.0.0.256"_s, true, u"Not an address or a network"_s);
        row("filter", Expect::captureFilter, u"host 10.0.0.1 and port 443"_s, true, {});
        row("filter quote", Expect::captureFilter, u"host 'a'"_s, true, u"single quote"_s);
        row("filter line break", Expect::captureFilter, u"host a\nor host b"_s, true, u"line break"_s);
    }
    void rules()
    {
        QFETCH(Expect, expect);
        QFETCH(QString, value);
        QFETCH(bool, asTyped);
        QFETCH(QString, advice);
        const QString found = Advice::about(expect, value, asTyped);
        QVERIFY2(advice.isEmpty() ? found.isEmpty() : found.contains(advice), qPrintable(found));
    }

    void everyForm()
    {
        CategoryForms::forEach(
            [](auto entry) { checkForm<typename decltype(entry)::Form>(Enum::caseName(entry.category)); });
        checkForm<BPFBuilderForm>(u"bpf"_s);
    }
};

QTEST_APPLESS_MAIN(TestFieldAdvice)
#include "tst_fieldadvice.moc"
