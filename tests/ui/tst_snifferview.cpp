#include "snifferfixture.h"

#include "app/appcontroller.h"
#include "app/contentview.h"
#include "app/mainwindow.h"
#include "builders/multilineedit.h"
#include "common/copybutton.h"
#include "filtercheck/filtercheck.h"
#include "filtercheck/pcapfilter.h"
#include "model/interfacestore.h"
#include "model/navigationstate.h"
#include "output/commandoutputview.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

class TestSnifferView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsDefaults();
    void layout();
    void typingShowsTheRule_data();
    void typingShowsTheRule();
    void titleKeepsTheInterfaceAsTyped();
    void customFilterReplacesSimpleRows();
    void customFilterKeepsWhatWasTyped();
    void filterPreviewOnlyWithAFilter();
    void offloadSnippetCopiesWithItsOwnReset();
    void filterCheckValidAndInvalid();
    void filterCheckWarnings();
    void mainWindowUsesTheAppSettings();

private:
    QLineEdit *simple(const char *name) const { return f.field<QLineEdit>(name, filterGroup()); }
    QComboBox *picker(const char *name) const { return f.field<QComboBox>(name, filterGroup()); }
    QWidget *filterGroup() const { return f.field<QWidget>("filterGroup"); }
    MultiLineEdit *customFilter() const { return f.field<MultiLineEdit>("customFilter"); }
    QCheckBox *useCustom() const { return f.field<QCheckBox>("useCustomFilter"); }
    QGroupBox *previewGroup() const { return f.field<QGroupBox>("filterPreviewGroup"); }
    QString preview() const { return f.field<QLabel>("filterPreview")->text(); }
    QString checkStatus() const { return f.field<QLabel>("filterCheckStatus")->text(); }
    QString checkMark() const { return f.field<QLabel>("filterCheckMark")->property("symbol").toString(); }
    QStringList warnings() const
    {
        QStringList texts;
        for (auto *label : f.view()->findChildren<QLabel *>(QStringLiteral("filterWarningText")))
            texts << label->text();
        return texts;
    }

    SnifferFixture f;
};

void TestSnifferView::init()
{
    f.createStorage();
    QVERIFY(f.createView());
}

void TestSnifferView::cleanup()
{
    f.destroy();
}

void TestSnifferView::showsDefaults()
{
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'none' 4 0 l"));
    QCOMPARE(f.view()->output()->title(), QStringLiteral("Sniffer on any"));
    QCOMPARE(f.field<QLineEdit>("interface")->text(), QStringLiteral("any"));
    QVERIFY(!useCustom()->isChecked());
    QVERIFY(!previewGroup()->isVisible());
    QVERIFY(!f.field<QGroupBox>("bpfBuilderGroup")->isVisible());
    QVERIFY(!f.view()->bpfBuilder());
    QCOMPARE(f.field<QComboBox>("verbose")->currentText(), QStringLiteral("4 \u2014 headers + interface names"));
    QCOMPARE(f.field<QComboBox>("timestamp")->currentText(), QStringLiteral("Absolute Local (l)"));
}

void TestSnifferView::layout()
{
    QCOMPARE(f.field<QLabel>("formTitle")->text(), QStringLiteral("Sniffer"));
    QVERIFY(f.field<QLabel>("formDescription")->text().contains(QStringLiteral(">diagnose sniffer packet</code>")));
    QCOMPARE(f.field<QLabel>("offloadHeadline")->text(),
             QStringLiteral("Reminder \u2014 disable ASIC / NPU offload to see all packets"));
    QCOMPARE(f.field<QLabel>("offloadReenable")->text(),
             QStringLiteral("Don't forget to re-enable offload when you're done."));

    // Group boxes in form order while the custom filter and the preview are shown.
    QTest::mouseClick(useCustom(), Qt::LeftButton);
    SnifferFixture::type(customFilter(), QStringLiteral("arp"));
    const auto y = [this](QWidget *w) { return w->mapTo(f.view()->widget(), QPoint()).y(); };
    QList<QGroupBox *> boxes;
    for (auto *box : f.view()->findChildren<QGroupBox *>()) {
        if (box->isVisible() && !box->title().isEmpty())
            boxes << box;
    }
    std::sort(boxes.begin(), boxes.end(), [&](QWidget *a, QWidget *b) { return y(a) < y(b); });
    QStringList titles;
    for (auto *box : boxes)
        titles << box->title();
    QCOMPARE(titles, (QStringList{QStringLiteral("Interface"), QStringLiteral("Filter"), QStringLiteral("BPF Builder"),
                                  QStringLiteral("Output Options"), QStringLiteral("Filter Preview"),
                                  QStringLiteral("Generated Command")}));
    QVERIFY(y(f.field<QWidget>("offloadReminder")) < y(boxes.first()));
    QTest::mouseClick(useCustom(), Qt::LeftButton);

    const QList<std::pair<QLineEdit *, QString>> placeholders = {
        {f.field<QLineEdit>("interface"), QStringLiteral("e.g. any, port1, wan1, vlan-100")},
        {simple("host"), QStringLiteral("IP, e.g. 10.0.0.1")},
        {simple("network"), QStringLiteral("e.g. 10.0.0.0/24")},
        {simple("portList"), QStringLiteral("single or comma-separated, e.g. 80,443")},
        {f.field<QLineEdit>("count"), QStringLiteral("blank or 0 = unlimited")}};
    for (const auto &[edit, placeholder] : placeholders)
        QCOMPARE(edit->placeholderText(), placeholder);
    QCOMPARE(customFilter()->placeholderText(), QStringLiteral("e.g. host 10.0.0.1 and (port 80 or port 443)"));
    QCOMPARE(simple("network")->accessibleName(), QStringLiteral("Network (CIDR):"));

    QCOMPARE(picker("proto")->width(), 140);
    QCOMPARE(picker("proto")->itemText(0), QStringLiteral("Any"));
    QCOMPARE(picker("proto")->count(), 10);
    const std::pair<const char *, const char *> directions[] = {
        {"hostMode", "host"}, {"networkMode", "network"}, {"portMode", "portList"}};
    for (const auto &[mode, value] : directions) {
        QCOMPARE(picker(mode)->width(), 160);
        QCOMPARE(picker(mode)->itemText(0), QStringLiteral("Either direction"));
        // The direction sits on its value's row, after it.
        QVERIFY(std::abs(picker(mode)->geometry().center().y() - simple(value)->geometry().center().y()) <= 2);
        QVERIFY(picker(mode)->x() > simple(value)->x() + simple(value)->width());
    }
    QCOMPARE(f.field<QPushButton>("interfacePresets")->width(), 110);
    QCOMPARE(f.field<QLineEdit>("count")->width(), 220);
    QCOMPARE(f.field<QComboBox>("timestamp")->width(), 220);
    auto *verbose = f.field<QComboBox>("verbose");
    QCOMPARE(verbose->count(), 6);
    QCOMPARE(verbose->itemText(0), QStringLiteral("1 \u2014 headers only"));
    QCOMPARE(verbose->itemText(5), QStringLiteral("6 \u2014 Ethernet data + interface names"));
}

void TestSnifferView::typingShowsTheRule_data()
{
    QTest::addColumn<int>("proto");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("hostMode");
    QTest::addColumn<QString>("network");
    QTest::addColumn<int>("networkMode");
    QTest::addColumn<QString>("ports");
    QTest::addColumn<int>("portMode");
    QTest::addColumn<QString>("expression");

    QTest::newRow("tcp, source host, destination ports")
        << 1 << QStringLiteral("10.0.0.1") << 1 << QString() << 0 << QStringLiteral("80,443") << 2
        << QStringLiteral("tcp and src host 10.0.0.1 and (dst port 80 or dst port 443)");
    QTest::newRow("udp, network, one port left")
        << 2 << QString() << 0 << QStringLiteral("10.1.0.0/16") << 0 << QStringLiteral(" 53 , , ") << 0
        << QStringLiteral("udp and net 10.1.0.0/16 and port 53");
    QTest::newRow("each direction on its own term")
        << 0 << QStringLiteral("1.1.1.1") << 0 << QStringLiteral("10.0.0.0/8") << 2 << QString() << 1
        << QStringLiteral("host 1.1.1.1 and dst net 10.0.0.0/8");
    QTest::newRow("a direction without its value")
        << 0 << QString() << 2 << QString() << 1 << QStringLiteral(",") << 2 << QString();
    QTest::newRow("unicode spaces trimmed, port range as text")
        << 0 << QStringLiteral("\u00a0\u20032001:db8::1\t") << 0 << QString() << 0 << QStringLiteral("80-90") << 1
        << QStringLiteral("host 2001:db8::1 and src port 80-90");
}

void TestSnifferView::typingShowsTheRule()
{
    QFETCH(int, proto);
    QFETCH(QString, host);
    QFETCH(int, hostMode);
    QFETCH(QString, network);
    QFETCH(int, networkMode);
    QFETCH(QString, ports);
    QFETCH(int, portMode);
    QFETCH(QString, expression);

    // Fields filled in the reverse of the term order: the order of the terms is fixed.
    SnifferFixture::type(simple("portList"), ports);
    picker("portMode")->setCurrentIndex(portMode);
    SnifferFixture::type(simple("network"), network);
    picker("networkMode")->setCurrentIndex(networkMode);
    SnifferFixture::type(simple("host"), host);
    picker("hostMode")->setCurrentIndex(hostMode);
    picker("proto")->setCurrentIndex(proto);

    const QString filter = expression.isEmpty() ? QStringLiteral("'none'") : u'\'' + expression + u'\'';
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any %1 4 0 l").arg(filter));
    QCOMPARE(preview(), expression);
    QCOMPARE(previewGroup()->isVisible(), !expression.isEmpty());
}

void TestSnifferView::titleKeepsTheInterfaceAsTyped()
{
    auto *interface = f.field<QLineEdit>("interface");
    interface->clear();
    QCOMPARE(f.view()->output()->title(), QStringLiteral("Sniffer on any"));
    SnifferFixture::type(interface, QStringLiteral("  "));
    QCOMPARE(f.view()->output()->title(), QStringLiteral("Sniffer on   "));
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'none' 4 0 l"));
    SnifferFixture::type(interface, QStringLiteral("port1 "));
    QCOMPARE(f.view()->output()->title(), QStringLiteral("Sniffer on   port1 "));

    picker("proto")->setCurrentIndex(2);
    f.field<QComboBox>("verbose")->setCurrentIndex(5);
    SnifferFixture::type(f.field<QLineEdit>("count"), QStringLiteral("100"));
    f.field<QComboBox>("timestamp")->setCurrentIndex(0);
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet port1 'udp' 6 100"));
    f.field<QLineEdit>("count")->clear();
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet port1 'udp' 6"));
    f.field<QComboBox>("timestamp")->setCurrentIndex(1);
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet port1 'udp' 6 0 a"));
}

void TestSnifferView::customFilterReplacesSimpleRows()
{
    SnifferFixture::type(simple("host"), QStringLiteral("10.0.0.1"));
    const QStringList simpleControls = {QStringLiteral("proto"),       QStringLiteral("host"),
                                        QStringLiteral("hostMode"),    QStringLiteral("network"),
                                        QStringLiteral("networkMode"), QStringLiteral("portList"),
                                        QStringLiteral("portMode")};
    const auto simpleShown = [&] {
        for (const QString &name : simpleControls) {
            auto *control = filterGroup()->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
            if (!control || !control->isVisible())
                return false;
        }
        return filterGroup()->findChild<QLabel *>()->isVisible();
    };
    QVERIFY(simpleShown());
    QVERIFY(!customFilter()->isVisible());

    QTest::mouseClick(useCustom(), Qt::LeftButton);
    QVERIFY(customFilter()->isVisible());
    for (const QString &name : simpleControls)
        QVERIFY(!filterGroup()->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly)->isVisible());
    for (auto *label : filterGroup()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!label->isVisible(), qPrintable(label->text()));
    QVERIFY(f.field<QGroupBox>("bpfBuilderGroup")->isVisible());
    QVERIFY(f.view()->bpfBuilder());
    // A blank custom filter gives 'none', whatever the simple fields hold.
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'none' 4 0 l"));
    QVERIFY(!previewGroup()->isVisible());

    SnifferFixture::type(customFilter(), QStringLiteral("  host 1.2.3.4 and not port 22  "));
    f.field<QComboBox>("timestamp")->setCurrentIndex(1);
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'host 1.2.3.4 and not port 22' 4 0 a"));

    // Switching back loses nothing: each mode's fields count again.
    QTest::mouseClick(useCustom(), Qt::LeftButton);
    QVERIFY(simpleShown());
    QVERIFY(!f.field<QGroupBox>("bpfBuilderGroup")->isVisible());
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'host 10.0.0.1' 4 0 a"));
    QTest::mouseClick(useCustom(), Qt::LeftButton);
    QCOMPARE(customFilter()->text(), QStringLiteral("  host 1.2.3.4 and not port 22  "));
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'host 1.2.3.4 and not port 22' 4 0 a"));
}

void TestSnifferView::customFilterKeepsWhatWasTyped()
{
    QTest::mouseClick(useCustom(), Qt::LeftButton);
    // A line break typed in the filter stays in the line; a no-break space inside is kept as typed.
    SnifferFixture::type(customFilter(), QStringLiteral("host\u00a01.2.3.4"));
    QTest::keyClick(customFilter(), Qt::Key_Return);
    SnifferFixture::type(customFilter(), QStringLiteral("or arp"));
    QTest::keyClick(customFilter(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(customFilter()->text(), QStringLiteral("host\u00a01.2.3.4\nor arp\n"));
    QCOMPARE(f.view()->output()->command(),
             QStringLiteral("diagnose sniffer packet any 'host\u00a01.2.3.4\nor arp\n' 4 0 l"));
    QCOMPARE(preview(), QStringLiteral("host\u00a01.2.3.4\nor arp\n"));

    // The field grows with its lines up to five, then scrolls.
    const int twoLines = [&] {
        auto *edit = customFilter();
        edit->setText(QStringLiteral("a"));
        return edit->height();
    }();
    customFilter()->setText(QStringLiteral("a\nb\nc"));
    QVERIFY(customFilter()->height() > twoLines);
    customFilter()->setText(QStringLiteral("a\nb\nc\nd\ne"));
    const int fiveLines = customFilter()->height();
    customFilter()->setText(QStringLiteral("a\nb\nc\nd\ne\nf\ng"));
    QCOMPARE(customFilter()->height(), fiveLines);
    customFilter()->setText(QString());
    QCOMPARE(customFilter()->height(), twoLines);
}

void TestSnifferView::filterPreviewOnlyWithAFilter()
{
    QVERIFY(!previewGroup()->isVisible());
    picker("proto")->setCurrentIndex(5);
    QVERIFY(previewGroup()->isVisible());
    QCOMPARE(preview(), QStringLiteral("arp"));
    picker("proto")->setCurrentIndex(0);
    QVERIFY(!previewGroup()->isVisible());
    // Blank text counts as no filter.
    SnifferFixture::type(simple("host"), QStringLiteral(" \t "));
    QVERIFY(!previewGroup()->isVisible());
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'none' 4 0 l"));

    QTest::mouseClick(useCustom(), Qt::LeftButton);
    SnifferFixture::type(customFilter(), QStringLiteral("   "));
    QVERIFY(!previewGroup()->isVisible());
    SnifferFixture::type(customFilter(), QStringLiteral("ip6 "));
    QVERIFY(previewGroup()->isVisible());
    QCOMPARE(preview(), QStringLiteral("ip6"));
}

void TestSnifferView::offloadSnippetCopiesWithItsOwnReset()
{
    const QString snippet = QStringLiteral("config firewall policy\n"
                                           "    edit <policy-id>\n"
                                           "        set auto-asic-offload disable\n"
                                           "    next\n"
                                           "end");
    QCOMPARE(f.field<QLabel>("offloadSnippet")->text(), snippet);

    auto *copy = f.field<CopyButton>("copyOffload");
    auto *panelCopy = f.field<CopyButton>("copy", f.view()->output());
    const QString panelIdle = panelCopy->text();
    QCOMPARE(copy->text(), QStringLiteral("Copy Offload-Disable Snippet"));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), snippet);
    QCOMPARE(copy->text(), QStringLiteral("Copied"));
    QCOMPARE(panelCopy->text(), panelIdle); // the panel's button has its own state

    // A second copy within the 1.5 s schedules a second reset; the first still turns the label back.
    QTest::mouseClick(copy, Qt::LeftButton);
    const QList<QTimer *> resets = copy->findChildren<QTimer *>(QStringLiteral("copyReset"));
    QCOMPARE(resets.size(), 2);
    for (QTimer *reset : resets)
        QCOMPARE(reset->interval(), CopyButton::resetInterval);
    QVERIFY(panelCopy->findChildren<QTimer *>(QStringLiteral("copyReset")).isEmpty());
    QMetaObject::invokeMethod(resets.first(), "timeout", Qt::DirectConnection);
    QCOMPARE(copy->text(), QStringLiteral("Copy Offload-Disable Snippet"));
    QCOMPARE(QGuiApplication::clipboard()->text(), snippet);
}

void TestSnifferView::filterCheckValidAndInvalid()
{
    QTest::mouseClick(useCustom(), Qt::LeftButton);
    SnifferFixture::type(customFilter(), QStringLiteral("tcp port 443 and net 10.0.0.0/8"));
    QTRY_COMPARE_WITH_TIMEOUT(checkMark(), QStringLiteral("checkmark.circle"), 10000);
    QCOMPARE(checkStatus(), QStringLiteral("Valid capture filter (checked with libpcap)"));
    QVERIFY(f.field<QWidget>("filterCheck")->isVisible());

    // Typing on makes it invalid; the message is libpcap's own.
    const QString broken = QStringLiteral("tcp port 443 and net 10.0.0.0/8 and (");
    SnifferFixture::type(customFilter(), QStringLiteral(" and ("));
    const PcapFilter::Result expected = PcapFilter::compile(broken);
    QVERIFY(!expected.valid);
    QVERIFY(!expected.message.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(checkMark(), QStringLiteral("xmark.circle"), 10000);
    QCOMPARE(checkStatus(), QStringLiteral("Invalid capture filter: ") + expected.message);
    // Advice only: the line is generated as usual.
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any '%1' 4 0 l").arg(broken));

    // The simple filter is checked too, and an empty filter shows no verdict.
    QTest::mouseClick(useCustom(), Qt::LeftButton);
    picker("proto")->setCurrentIndex(3);
    QTRY_COMPARE_WITH_TIMEOUT(checkMark(), QStringLiteral("checkmark.circle"), 10000);
    picker("proto")->setCurrentIndex(0);
    QVERIFY(!previewGroup()->isVisible());
    QCOMPARE(checkMark(), QString());
}

void TestSnifferView::filterCheckWarnings()
{
    SnifferFixture::type(simple("host"), QStringLiteral("10.0.0.1'"));
    QCOMPARE(warnings(), QStringList{FilterCheck::singleQuoteWarning()});
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'host 10.0.0.1'' 4 0 l"));
    QTest::keyClick(simple("host"), Qt::Key_Backspace);
    QCOMPARE(warnings(), QStringList());

    QTest::mouseClick(useCustom(), Qt::LeftButton);
    SnifferFixture::type(customFilter(), QStringLiteral("port 22"));
    QTest::keyClick(customFilter(), Qt::Key_Return);
    SnifferFixture::type(customFilter(), QStringLiteral("or port 'x'"));
    QCOMPARE(warnings(), (QStringList{FilterCheck::lineBreakWarning(), FilterCheck::singleQuoteWarning()}));
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet any 'port 22\nor port 'x'' 4 0 l"));
    // The warnings stand beside libpcap's verdict rather than replacing it.
    QTRY_VERIFY_WITH_TIMEOUT(!checkMark().isEmpty(), 10000);
}

void TestSnifferView::mainWindowUsesTheAppSettings()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("app.conf"));
    {
        SettingsStorage settings(file);
        InterfaceStore saved(settings);
        QVERIFY(saved.add(QStringLiteral("vlan100")));
    }
    AppController controller(file);
    controller.showMainWindow();
    controller.nav().setSelectedCategory(DebugCategory::sniffer);
    auto *sniffer = qobject_cast<SnifferView *>(controller.mainWindow()->content()->detail());
    QVERIFY(sniffer);
    QCOMPARE(sniffer->interfaceStore().interfaces(), QStringList{QStringLiteral("vlan100")});
    QVERIFY(sniffer->interfaceStore().add(QStringLiteral("dmz")));

    // Each new Sniffer form reads the list again.
    controller.nav().setSelectedCategory(DebugCategory::session);
    controller.nav().setSelectedCategory(DebugCategory::sniffer);
    sniffer = qobject_cast<SnifferView *>(controller.mainWindow()->content()->detail());
    QVERIFY(sniffer);
    QCOMPARE(sniffer->interfaceStore().interfaces(), (QStringList{QStringLiteral("dmz"), QStringLiteral("vlan100")}));
}

QTEST_MAIN(TestSnifferView)
#include "tst_snifferview.moc"
