#include "snifferfixture.h"

#include "builders/bpfbuilderview.h"
#include "builders/multilineedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using SnippetType = BPFBuilderView::SnippetType;
using Preset = BPFBuilderView::Preset;

class TestBPFBuilderView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout();
    void presetsAlwaysParenthesised_data();
    void presetsAlwaysParenthesised();
    void buildingStepByStep();
    void appendsToTypedText();
    void addToFilterEnabledState();
    void ctrlReturnAdds();
    void typeShowsItsRows_data();
    void typeShowsItsRows();
    void switchingTypeKeepsParameters();
    void customModeToggleRecreatesBuilder();

private:
    BPFBuilderView *builder() const { return f.view()->bpfBuilder(); }
    template <typename T> T *control(const char *name) const { return f.field<T>(name, builder()); }
    MultiLineEdit *customFilter() const { return f.field<MultiLineEdit>("customFilter"); }
    void setType(SnippetType type) const
    {
        control<QComboBox>("type")->setCurrentIndex(int(Enum::allCases<SnippetType>().indexOf(type)));
    }
    QString snippetPreview() const
    {
        auto *preview = control<QLabel>("snippetPreview");
        return preview->isVisible() ? preview->text() : QString();
    }
    void click(const char *name) const { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }

    SnifferFixture f;
};

void TestBPFBuilderView::init()
{
    f.createStorage();
    QVERIFY(f.createView());
    QTest::mouseClick(f.field<QCheckBox>("useCustomFilter"), Qt::LeftButton);
    QVERIFY(builder());
    QVERIFY(builder()->isVisible());
}

void TestBPFBuilderView::cleanup()
{
    f.destroy();
}

void TestBPFBuilderView::layout()
{
    QStringList titles;
    for (Preset preset : Enum::allCases<Preset>())
        titles << control<QAbstractButton>(qPrintable(Enum::caseName(preset)))->text();
    QCOMPARE(titles, (QStringList{QStringLiteral("TCP SYN"), QStringLiteral("TCP RST"), QStringLiteral("New TCP"),
                                  QStringLiteral("ICMP ping"), QStringLiteral("ARP"), QStringLiteral("VLAN any"),
                                  QStringLiteral("IPv6"), QStringLiteral("Broadcast"), QStringLiteral("Multicast")}));
    auto *type = control<QComboBox>("type");
    QCOMPARE(type->width(), 230);
    QCOMPARE(type->count(), 13);
    QCOMPARE(type->itemText(3), QStringLiteral("Protocol (tcp/udp/\u2026)"));
    QCOMPARE(type->itemText(12), QStringLiteral("IP protocol #"));
    QCOMPARE(control<QComboBox>("hostDir")->width(), 200);
    QCOMPARE(control<QComboBox>("hostDir")->itemText(0), QStringLiteral("Either"));
    QCOMPARE(control<QWidget>("combinator")->width(), 160);
    QCOMPARE(control<QAbstractButton>("and")->text(), QStringLiteral("AND"));
    QCOMPARE(control<QAbstractButton>("or_")->text(), QStringLiteral("OR"));
    QVERIFY(control<QAbstractButton>("and")->isChecked());
    QCOMPARE(control<QCheckBox>("negate")->text(), QStringLiteral("Negate (NOT)"));
    QVERIFY(!control<QCheckBox>("negate")->isChecked());
    QCOMPARE(control<QCheckBox>("wrapInParens")->text(), QStringLiteral("Wrap in parens"));
    QVERIFY(control<QCheckBox>("wrapInParens")->isChecked());
    QCOMPARE(control<QPushButton>("clearFilter")->text(), QStringLiteral("Clear Filter"));
    QCOMPARE(control<QPushButton>("addToFilter")->text(), QStringLiteral("Add to Filter"));
    QCOMPARE(control<QLineEdit>("hostIP")->placeholderText(), QStringLiteral("e.g. 10.0.0.1"));
    QCOMPARE(control<QLineEdit>("hostIP")->accessibleName(), QStringLiteral("IP address:"));
    setType(SnippetType::etherBroadcast);
    QCOMPARE(control<QLabel>("etherBroadcastNote")->accessibleName(),
             QStringLiteral("No parameters \u2014 appends ether broadcast"));
    QVERIFY(control<QLabel>("etherBroadcastNote")->text().contains(QStringLiteral(">ether broadcast</code>")));
}

void TestBPFBuilderView::presetsAlwaysParenthesised_data()
{
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<QString>("expression");
    const QStringList expressions = {QStringLiteral("tcp[tcpflags] & tcp-syn != 0"),
                                     QStringLiteral("tcp[tcpflags] & tcp-rst != 0"),
                                     QStringLiteral("tcp[tcpflags] & (tcp-syn|tcp-ack) == tcp-syn"),
                                     QStringLiteral("icmp[icmptype] == icmp-echo"),
                                     QStringLiteral("arp"),
                                     QStringLiteral("vlan"),
                                     QStringLiteral("ip6"),
                                     QStringLiteral("ether broadcast"),
                                     QStringLiteral("ether multicast")};
    const QList<Preset> presets = Enum::allCases<Preset>();
    for (qsizetype i = 0; i < presets.size(); ++i)
        QTest::newRow(qPrintable(Enum::caseName(presets.at(i)))) << presets.at(i) << expressions.at(i);
}

void TestBPFBuilderView::presetsAlwaysParenthesised()
{
    QFETCH(Preset, preset);
    QFETCH(QString, expression);
    // Negate on and parentheses off change nothing for a preset.
    click("negate");
    click("wrapInParens");
    click(qPrintable(Enum::caseName(preset)));
    const QString piece = u'(' + expression + u')';
    QCOMPARE(customFilter()->text(), piece);
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any '%1' 4 0 l").arg(piece));
    QCOMPARE(f.field<QLabel>("filterPreview")->text(), piece);
    click(qPrintable(Enum::caseName(preset)));
    QCOMPARE(customFilter()->text(), piece + QStringLiteral(" and ") + piece);
}

void TestBPFBuilderView::buildingStepByStep()
{
    QVERIFY(!control<QPushButton>("addToFilter")->isEnabled());
    QCOMPARE(snippetPreview(), QString());

    SnifferFixture::type(control<QLineEdit>("hostIP"), QStringLiteral("10.0.0.1"));
    control<QComboBox>("hostDir")->setCurrentIndex(1);
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (src host 10.0.0.1)"));
    click("addToFilter");
    QCOMPARE(customFilter()->text(), QStringLiteral("(src host 10.0.0.1)"));

    setType(SnippetType::port);
    SnifferFixture::type(control<QLineEdit>("portList"), QStringLiteral("80, 443"));
    click("or_");
    click("addToFilter");
    QCOMPARE(customFilter()->text(), QStringLiteral("(src host 10.0.0.1) or ((port 80 or port 443))"));

    click("and");
    click("tcpSyn");
    const QString built =
        QStringLiteral("(src host 10.0.0.1) or ((port 80 or port 443)) and (tcp[tcpflags] & tcp-syn != 0)");
    QCOMPARE(customFilter()->text(), built);
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any '%1' 4 0 l").arg(built));

    setType(SnippetType::tcpFlag);
    click("flagAck");
    control<QComboBox>("flagMode")->setCurrentIndex(1);
    click("wrapInParens");
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: tcp[tcpflags] & (tcp-syn|tcp-ack) == (tcp-syn|tcp-ack)"));

    setType(SnippetType::etherHost);
    SnifferFixture::type(control<QLineEdit>("mac"), QStringLiteral("00:11:22:33:44:55"));
    control<QComboBox>("macDir")->setCurrentIndex(2);
    click("negate");
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: not (ether dst 00:11:22:33:44:55)"));

    click("clearFilter");
    QCOMPARE(customFilter()->text(), QString());
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'none' 4 0 l"));
    click("arp");
    QCOMPARE(customFilter()->text(), QStringLiteral("(arp)"));
    // Each builder write is one undoable edit of the field.
    customFilter()->undo();
    QCOMPARE(customFilter()->text(), QString());
}

void TestBPFBuilderView::appendsToTypedText()
{
    SnifferFixture::type(customFilter(), QStringLiteral(" tcp "));
    QTest::keyClick(customFilter(), Qt::Key_Return);
    SnifferFixture::type(customFilter(), QStringLiteral("and port 22 "));
    setType(SnippetType::ipProto);
    SnifferFixture::type(control<QLineEdit>("ipProtoNum"), QStringLiteral(" 47 "));
    click("wrapInParens");
    click("addToFilter");
    // Trimmed as a whole when something is appended; the line break inside stays.
    QCOMPARE(customFilter()->text(), QStringLiteral("tcp \nand port 22 and ip proto 47"));
    QCOMPARE(f.view()->form().customFilter, QStringLiteral("tcp \nand port 22 and ip proto 47"));

    customFilter()->setText(QStringLiteral(" \t "));
    click("ipv6");
    QCOMPARE(customFilter()->text(), QStringLiteral("(ip6)"));
}

void TestBPFBuilderView::addToFilterEnabledState()
{
    auto *add = control<QPushButton>("addToFilter");
    SnifferFixture::type(control<QLineEdit>("hostIP"), QStringLiteral(" "));
    QVERIFY(!add->isEnabled());
    SnifferFixture::type(control<QLineEdit>("hostIP"), QStringLiteral("1.1.1.1"));
    QVERIFY(add->isEnabled());

    setType(SnippetType::vlan);
    QVERIFY(add->isEnabled());
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (vlan)"));

    setType(SnippetType::tcpFlag);
    click("flagSyn");
    QVERIFY(!add->isEnabled());
    QCOMPARE(snippetPreview(), QString());
    click("flagFin");
    QVERIFY(add->isEnabled());
    click("wrapInParens");
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: tcp[tcpflags] & tcp-fin != 0"));

    setType(SnippetType::port);
    SnifferFixture::type(control<QLineEdit>("portList"), QStringLiteral(","));
    QVERIFY(!add->isEnabled());
    click("addToFilter");
    QCOMPARE(customFilter()->text(), QString());
}

void TestBPFBuilderView::ctrlReturnAdds()
{
    SnifferFixture::type(control<QLineEdit>("hostIP"), QStringLiteral("1.1.1.1"));
    QTest::keyClick(control<QLineEdit>("hostIP"), Qt::Key_Return, Qt::ControlModifier);
    QTRY_COMPARE(customFilter()->text(), QStringLiteral("(host 1.1.1.1)"));
    // Also from the filter field itself, where Return alone starts a new line.
    customFilter()->setFocus();
    QTest::keyClick(customFilter(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_COMPARE(customFilter()->text(), QStringLiteral("(host 1.1.1.1) and (host 1.1.1.1)"));
    QCOMPARE(control<QPushButton>("addToFilter")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));
}

void TestBPFBuilderView::typeShowsItsRows_data()
{
    QTest::addColumn<SnippetType>("type");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("host") << SnippetType::host << QStringList{QStringLiteral("hostIP"), QStringLiteral("hostDir")};
    QTest::newRow("network") << SnippetType::network
                             << QStringList{QStringLiteral("networkCIDR"), QStringLiteral("networkDir")};
    QTest::newRow("port") << SnippetType::port << QStringList{QStringLiteral("portList"), QStringLiteral("portDir")};
    QTest::newRow("ipProtocol") << SnippetType::ipProtocol << QStringList{QStringLiteral("bpfProto")};
    QTest::newRow("etherHost") << SnippetType::etherHost
                               << QStringList{QStringLiteral("mac"), QStringLiteral("macDir")};
    QTest::newRow("vlan") << SnippetType::vlan << QStringList{QStringLiteral("vlanID")};
    QTest::newRow("tcpFlag") << SnippetType::tcpFlag
                             << QStringList{QStringLiteral("flags"), QStringLiteral("flagMode")};
    QTest::newRow("icmpType") << SnippetType::icmpType << QStringList{QStringLiteral("icmp")};
    QTest::newRow("etherBroadcast") << SnippetType::etherBroadcast << QStringList{QStringLiteral("etherBroadcastNote")};
    QTest::newRow("etherMulticast") << SnippetType::etherMulticast << QStringList{QStringLiteral("etherMulticastNote")};
    QTest::newRow("ipVersion") << SnippetType::ipVersion << QStringList{QStringLiteral("ipVer")};
    QTest::newRow("etherProto") << SnippetType::etherProto << QStringList{QStringLiteral("etherProtoNum")};
    QTest::newRow("ipProto") << SnippetType::ipProto << QStringList{QStringLiteral("ipProtoNum")};
}

void TestBPFBuilderView::typeShowsItsRows()
{
    QFETCH(SnippetType, type);
    QFETCH(QStringList, shown);
    setType(type);
    auto *grid = control<QWidget>("snippetGrid");
    QStringList visible;
    QStringList labels;
    for (QWidget *child : grid->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible())
            continue;
        if (auto *label = qobject_cast<QLabel *>(child); label && label->buddy())
            labels << label->text();
        else if (child->objectName() != QLatin1String("type"))
            visible << child->objectName();
    }
    std::sort(visible.begin(), visible.end());
    std::sort(shown.begin(), shown.end());
    QCOMPARE(visible, shown);
    QVERIFY(labels.contains(QStringLiteral("Snippet type:")));
    QCOMPARE(labels.size(), shown.size() + 1);
}

void TestBPFBuilderView::switchingTypeKeepsParameters()
{
    SnifferFixture::type(control<QLineEdit>("hostIP"), QStringLiteral("10.9.9.9"));
    control<QComboBox>("hostDir")->setCurrentIndex(2);
    setType(SnippetType::ipVersion);
    click("v6");
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (ip6)"));
    setType(SnippetType::etherProto);
    SnifferFixture::type(control<QLineEdit>("etherProtoNum"), QStringLiteral("0x0806"));
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (ether proto 0x0806)"));

    setType(SnippetType::host);
    QCOMPARE(control<QLineEdit>("hostIP")->text(), QStringLiteral("10.9.9.9"));
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (dst host 10.9.9.9)"));
    setType(SnippetType::ipVersion);
    QVERIFY(control<QAbstractButton>("v6")->isChecked());
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (ip6)"));
    setType(SnippetType::etherProto);
    QCOMPARE(snippetPreview(), QStringLiteral("Preview: (ether proto 0x0806)"));
    // Adding leaves the parameters as they are.
    click("addToFilter");
    QCOMPARE(control<QLineEdit>("etherProtoNum")->text(), QStringLiteral("0x0806"));
}

void TestBPFBuilderView::customModeToggleRecreatesBuilder()
{
    SnifferFixture::type(control<QLineEdit>("hostIP"), QStringLiteral("1.1.1.1"));
    click("negate");
    click("or_");
    click("addToFilter");
    setType(SnippetType::vlan);
    QCOMPARE(customFilter()->text(), QStringLiteral("not (host 1.1.1.1)"));

    auto *useCustom = f.field<QCheckBox>("useCustomFilter");
    QTest::mouseClick(useCustom, Qt::LeftButton);
    QVERIFY(!builder());
    QTest::mouseClick(useCustom, Qt::LeftButton);
    QVERIFY(builder());
    QCOMPARE(customFilter()->text(), QStringLiteral("not (host 1.1.1.1)"));
    const BPFBuilderForm defaults;
    QCOMPARE(builder()->form().type, defaults.type);
    QCOMPARE(builder()->form().hostIP, QString());
    QCOMPARE(builder()->form().negate, false);
    QCOMPARE(builder()->form().combinator, defaults.combinator);
    QCOMPARE(control<QLineEdit>("hostIP")->text(), QString());
    QVERIFY(!control<QCheckBox>("negate")->isChecked());
    QVERIFY(control<QAbstractButton>("and")->isChecked());
    QVERIFY(control<QLineEdit>("hostIP")->isVisible());
    QVERIFY(!control<QPushButton>("addToFilter")->isEnabled());
}

QTEST_MAIN(TestBPFBuilderView)
#include "tst_bpfbuilderview.moc"
