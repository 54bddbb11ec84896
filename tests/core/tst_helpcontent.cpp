#include "help/helpcontent.h"
#include "text.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An article's layout in one line: P paragraph, B<n> bullets, C<n> code lines, S(...) a section.
QString shapeOf(const HelpParagraph &)
{
    return u"P"_s;
}
QString shapeOf(const HelpBullets &b)
{
    return u"B"_s + QString::number(b.items.size());
}
QString shapeOf(const HelpCode &c)
{
    return u"C"_s + QString::number(c.code.split(u'\n').size());
}
QString shapeOf(const HelpSection &s)
{
    QStringList inner;
    for (const HelpSectionBlock &b : s.content)
        inner << std::visit([](const auto &x) { return shapeOf(x); }, b);
    return u"S("_s + inner.join(u' ') + u')';
}
QString shape(const HelpArticle &article)
{
    QStringList parts;
    for (const HelpBlock &b : article.content)
        parts << std::visit([](const auto &x) { return shapeOf(x); }, b);
    return parts.join(u' ');
}

QStringList headings(const HelpArticle &article)
{
    QStringList result;
    for (const HelpBlock &b : article.content) {
        if (const auto *s = std::get_if<HelpSection>(&b))
            result << s->heading;
    }
    return result;
}

const HelpSection &section(const HelpArticle &article, const QString &heading)
{
    for (const HelpBlock &b : article.content) {
        if (const auto *s = std::get_if<HelpSection>(&b); s && s->heading == heading)
            return *s;
    }
    qFatal("no section");
}

// Every text with its kind and nesting, one per line, so a mismatch names the text that differs.
struct Outline {
    QStringList lines;
    QString indent;

    void operator()(const HelpParagraph &p) { lines << indent + u"P: "_s + p.text; }
    void operator()(const HelpBullets &b)
    {
        for (const QString &item : b.items)
            lines << indent + u"B: "_s + item;
        lines << indent + u"B end"_s;
    }
    void operator()(const HelpCode &c) { lines << indent + u"C: "_s + c.code; }
    void operator()(const HelpSection &s)
    {
        lines << u"S: "_s + s.heading;
        indent = u"  "_s;
        for (const HelpSectionBlock &b : s.content)
            std::visit(*this, b);
        indent.clear();
    }
};

QStringList outline(const HelpArticle &article)
{
    Outline o;
    o.lines << u"title: "_s + article.title << u"subtitle: "_s + article.subtitle.value_or(u"(none)"_s);
    for (const HelpBlock &b : article.content)
        std::visit(o, b);
    return o.lines;
}

QString lines(const QStringList &l)
{
    return l.join(u'\n');
}

} // namespace

class TestHelpContent : public QObject
{
    Q_OBJECT

private slots:
    void topicsInSidebarOrder();
    void structure_data();
    void structure();
    void articleForEachTopicIsItsView();
    void workflowAsWritten();
    void snifferAsWritten();
    void menuBarAsWritten();
    void shortcutsAsWritten();
    void selectedTexts_data();
    void selectedTexts();
    void offloadSnippetKeepsItsIndentation();
    void aboutBylineIsOneLine();
};

void TestHelpContent::topicsInSidebarOrder()
{
    QCOMPARE(
        Enum::caseNames<HelpTopic>(),
        (QStringList{u"overview"_s, u"workflow"_s, u"sessions"_s, u"ping"_s, u"traceroute"_s, u"sniffer"_s, u"flow"_s,
                     u"vpn"_s, u"top"_s, u"ha"_s, u"routing"_s, u"saved"_s, u"menuBar"_s, u"shortcuts"_s, u"about"_s}));
    QCOMPARE(Enum::rawValues<HelpTopic>(),
             (QStringList{u"Overview"_s, u"Workflow & Output"_s, u"Sessions"_s, u"Ping"_s, u"Traceroute"_s,
                          u"Sniffer & BPF Builder"_s, u"Debug Flow"_s, u"VPN (IPsec)"_s, u"System Top"_s, u"HA"_s,
                          u"Routing"_s, u"Saved Commands"_s, u"Menu Bar"_s, u"Keyboard Shortcuts"_s, u"About"_s}));
    QCOMPARE(HelpTopics::symbol(HelpTopic::overview), u"book"_s);
    QCOMPARE(HelpTopics::symbol(HelpTopic::traceroute), u"point.topleft.down.to.point.bottomright.curvepath"_s);
    QCOMPARE(HelpTopics::symbol(HelpTopic::menuBar), u"menubar.rectangle"_s);
    QCOMPARE(HelpTopics::symbol(HelpTopic::about), u"info.circle"_s);
    QCOMPARE(Enum::fromCaseName<HelpTopic>(u"menuBar"), HelpTopic::menuBar);
    QVERIFY(!Enum::fromCaseName<HelpTopic>(u"menubar"));
    QCOMPARE(HelpTopics::title(HelpTopic::vpn), u"VPN (IPsec)"_s);
}

void TestHelpContent::structure_data()
{
    QTest::addColumn<HelpArticle>("article");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("subtitle"); // null: none
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QStringList>("headings");

    QTest::newRow("overview") << OverviewHelp() << u"Brindlecap Builder"_s
                              << u"Build FortiOS diagnostic commands from simple forms."_s << u"P S(B4) S(P C3)"_s
                              << QStringList{u"How the app is organized"_s, u"Reading generated commands"_s};
    QTest::newRow("workflow") << WorkflowHelp() << u"Workflow"_s << u"Copy · Save to .txt · Save for Later"_s
                              << u"S(B3) S(P) S(P)"_s
                              << QStringList{u"The Generated Command panel"_s, u"Empty fields are skipped"_s,
                                             u"Stop-debug blocks"_s};
    QTest::newRow("sessions") << SessionsHelp() << u"Sessions"_s << u"diagnose sys session — inspect live flows"_s
                              << u"P S(B7) S(C5)"_s << QStringList{u"Fields"_s, u"Example output"_s};
    QTest::newRow("ping") << PingHelp() << u"Ping"_s << u"exec ping-options / exec ping"_s << u"P S(B5) S(C5)"_s
                          << QStringList{u"Notable options"_s, u"PMTU-discovery example"_s};
    QTest::newRow("traceroute") << TracerouteHelp() << u"Traceroute"_s << u"exec traceroute-options / exec traceroute"_s
                                << u"P S(B3)"_s << QStringList{u"Notable options"_s};
    QTest::newRow("sniffer") << SnifferHelp() << u"Sniffer"_s << u"diagnose sniffer packet — with pcap-style filters"_s
                             << u"P S(P C5 P) S(B3) S(B6) S(P P) S(B6) S(C1)"_s
                             << QStringList{u"⚠ Disable ASIC / NPU offload first"_s,
                                            u"Interface"_s,
                                            u"Verbose levels (`0`–`6`)"_s,
                                            u"Filter — simple vs BPF mode"_s,
                                            u"BPF Builder controls"_s,
                                            u"Example"_s};
    QTest::newRow("flow") << FlowHelp() << u"Debug Flow"_s
                          << u"diagnose debug flow — trace packet path through kernel"_s << u"P S(B6)"_s
                          << QStringList{u"Recommended flow"_s};
    QTest::newRow("vpn") << VPNHelp() << u"VPN (IPsec)"_s << u"diagnose vpn ike / tunnel + IKE debug"_s << u"P S(B4)"_s
                         << QStringList{u"Filters"_s};
    QTest::newRow("top: sections only") << TopHelp() << u"System Top"_s
                                        << u"diagnose sys top — CPU, memory, and I/O usage"_s << u"S(B4) S(B2) S(P)"_s
                                        << QStringList{u"Variants"_s, u"Options"_s, u"Companion commands"_s};
    QTest::newRow("ha: sections only") << HAHelp() << u"HA"_s
                                       << u"Cluster status, checksums, and live sync/talk debug"_s
                                       << u"S(B4) S(B3) S(B2)"_s
                                       << QStringList{u"Status commands"_s, u"Actions"_s, u"Live debug"_s};
    QTest::newRow("routing: sections only")
        << RoutingHelp() << u"Routing"_s << u"OSPF · BGP · Static"_s << u"S(B2) S(B4) S(B5)"_s
        << QStringList{u"OSPF"_s, u"BGP"_s, u"Static / RIB"_s};
    QTest::newRow("saved") << SavedHelp() << u"Saved Commands"_s << u"Store, edit, search, and export"_s << u"P S(B5)"_s
                           << QStringList{u"What you can do"_s};
    QTest::newRow("menuBar: no section") << MenuBarHelp() << u"Menu Bar"_s
                                         << u"Quick access without switching windows"_s << u"P B6"_s << QStringList{};
    QTest::newRow("shortcuts: no subtitle")
        << ShortcutsHelp() << u"Keyboard Shortcuts"_s << QString() << u"S(B3) S(B2) S(B1)"_s
        << QStringList{u"Global"_s, u"Command Output panel"_s, u"BPF Builder"_s};
    QTest::newRow("about") << AboutHelp() << u"About"_s << u"Brindlecap Builder"_s << u"P P S(P)"_s
                           << QStringList{u"Disclaimer"_s};
}

void TestHelpContent::structure()
{
    QFETCH(HelpArticle, article);
    QFETCH(QString, title);
    QFETCH(QString, subtitle);
    QFETCH(QString, shape);
    QFETCH(QStringList, headings);

    QCOMPARE(article.title, title);
    QCOMPARE(article.subtitle.has_value(), !subtitle.isNull());
    if (article.subtitle)
        QCOMPARE(*article.subtitle, subtitle);
    QCOMPARE(::shape(article), shape);
    QCOMPARE(::headings(article), headings);
}

void TestHelpContent::articleForEachTopicIsItsView()
{
    const QList<HelpArticle> views = {
        OverviewHelp(), WorkflowHelp(), SessionsHelp(), PingHelp(),      TracerouteHelp(),
        SnifferHelp(),  FlowHelp(),     VPNHelp(),      TopHelp(),       HAHelp(),
        RoutingHelp(),  SavedHelp(),    MenuBarHelp(),  ShortcutsHelp(), AboutHelp(),
    };
    const QList<HelpTopic> topics = Enum::allCases<HelpTopic>();
    QCOMPARE(topics.size(), views.size());
    for (qsizetype i = 0; i < topics.size(); ++i) {
        QVERIFY2(articleFor(topics.at(i), HelpPlatform::macOS()) == views.at(i),
                 qPrintable(Enum::caseName(topics.at(i))));
        for (qsizetype j = 0; j < i; ++j)
            QVERIFY(!(views.at(i) == views.at(j)));
    }
}

void TestHelpContent::workflowAsWritten()
{
    const HelpArticle expected{
        u"Workflow"_s,
        u"Copy · Save to .txt · Save for Later"_s,
        {
            HelpSection{
                u"The Generated Command panel"_s,
                {HelpBullets{{
                    u"**Copy** (`⇧⌘C`) — places the command on the clipboard, ready to paste into your SSH session."_s,
                    u"**Save to .txt** — writes the command to a plain-text file via a standard macOS Save panel. "
                    u"Useful "
                    u"for attaching to tickets or emailing."_s,
                    u"**Save for Later** (`⇧⌘S`) — opens a sheet where you can name the command, add notes, and store "
                    u"it in the app. Saved items appear under the **Saved Commands** sidebar entry."_s,
                }}}},
            HelpSection{u"Empty fields are skipped"_s,
                        {HelpParagraph{u"Every text field is optional unless the entire category requires one (e.g. a "
                                       u"ping needs a destination). Leaving a filter blank means \"don't add this to "
                                       u"the command.\" This lets you generate anything from a fully-scoped filter to "
                                       u"a wide-open one."_s}}},
            HelpSection{u"Stop-debug blocks"_s,
                        {HelpParagraph{u"For any category that enables long-running debug output (Debug Flow, VPN, "
                                       u"HA, Routing), the app appends a **stop-debug block** by default so you always "
                                       u"have the pair to turn it off. You can toggle this off if you just want to "
                                       u"view a specific state."_s}}},
        },
    };
    QCOMPARE(outline(WorkflowHelp()), outline(expected));
    QVERIFY(WorkflowHelp() == expected);
}

void TestHelpContent::snifferAsWritten()
{
    const HelpArticle expected{
        u"Sniffer"_s,
        u"diagnose sniffer packet — with pcap-style filters"_s,
        {
            HelpParagraph{
                u"Runs a packet capture on one or more FortiGate interfaces using tcpdump/BPF filter syntax."_s},
            HelpSection{
                u"⚠ Disable ASIC / NPU offload first"_s,
                {
                    HelpParagraph{u"On offload-capable FortiGates, hardware-accelerated sessions bypass the CPU-based "
                                  u"sniffer after the first few packets. If you only see the SYN and nothing else, the "
                                  u"flow is being handled by NP/SP hardware. Disable offload on the policy you're "
                                  u"troubleshooting and re-create the session before capturing:"_s},
                    HelpCode{u"config firewall policy\n    edit <policy-id>\n        set auto-asic-offload disable\n"
                             u"    next\nend"_s},
                    HelpParagraph{u"The Sniffer screen shows this reminder inline with a **Copy Offload-Disable "
                                  u"Snippet** button. Remember to re-enable offload when you're done, or performance "
                                  u"will suffer."_s},
                }},
            HelpSection{u"Interface"_s,
                        {HelpBullets{{
                            u"Type any interface name — the field is free-text so `port1.20`, `vlan100`, "
                            u"`guest-wifi`, etc. all work."_s,
                            u"**Presets** menu offers common names, and lets you save your own via **Add Custom "
                            u"Interface…** — saved names persist across launches."_s,
                            u"**Save Current as Custom…** — pre-fills the sheet with whatever's in the text field."_s,
                        }}}},
            HelpSection{u"Verbose levels (`0`–`6`)"_s,
                        {HelpBullets{{
                            u"**1** — headers only"_s,
                            u"**2** — headers + IP data"_s,
                            u"**3** — headers + Ethernet data"_s,
                            u"**4** — headers + interface names (default)"_s,
                            u"**5** — IP data + interface names"_s,
                            u"**6** — Ethernet data + interface names (full pcap)"_s,
                        }}}},
            HelpSection{u"Filter — simple vs BPF mode"_s,
                        {
                            HelpParagraph{u"With **Use custom BPF filter expression** off, the app shows a simple "
                                          u"builder with Host / Network / Port / Protocol and a src/dst/either "
                                          u"selector for each."_s},
                            HelpParagraph{u"Turn the toggle on to get the **BPF Builder**: presets for common "
                                          u"expressions and a snippet builder for BPF-only primitives (MAC address, "
                                          u"VLAN, TCP flags, ICMP types, ether/ip proto numbers). Snippets are "
                                          u"combined with your chosen AND/OR operator, optionally wrapped in parens, "
                                          u"and optionally negated."_s},
                        }},
            HelpSection{u"BPF Builder controls"_s,
                        {HelpBullets{{
                            u"**Presets** — one-click TCP SYN, TCP RST, New TCP (`SYN` without `ACK`), ICMP ping, "
                            u"ARP, VLAN, IPv6, Broadcast, Multicast."_s,
                            u"**Snippet type** — Host / Network / Port / Protocol / Ethernet host / VLAN / TCP flag / "
                            u"ICMP type / Ether broadcast / Ether multicast / IP version / Ether protocol # / IP "
                            u"protocol #."_s,
                            u"**Negate** — wraps the fragment as `not (...)`."_s,
                            u"**Wrap in parens** — protects operator precedence when combining."_s,
                            u"**Combine with** — AND / OR used when appending onto an existing expression."_s,
                            u"**Add to Filter** (`⌘⏎`) — appends the current snippet; **Clear Filter** empties the "
                            u"text field."_s,
                        }}}},
            HelpSection{u"Example"_s,
                        {HelpCode{u"diagnose sniffer packet any '(tcp) and (src host 10.0.0.1) and ((dst port 80 or "
                                  u"dst port 443))' 4 0 l"_s}}},
        },
    };
    QCOMPARE(outline(SnifferHelp()), outline(expected));
    QVERIFY(SnifferHelp() == expected);
}

void TestHelpContent::menuBarAsWritten()
{
    const HelpArticle expected{
        u"Menu Bar"_s,
        u"Quick access without switching windows"_s,
        {
            HelpParagraph{u"A terminal-icon menu extra sits in the macOS menu bar. Click it any time — even when the "
                          u"main window is closed — to:"_s},
            HelpBullets{{
                u"**Open Brindlecap Builder** (`⇧⌘O`) — activates the app and brings the main window forward."_s,
                u"**New Command** — submenu of every category; picking one jumps the window straight to that form."_s,
                u"**Recent Saved Commands** — the 10 most-recent items, each with a **Copy to Clipboard** action for "
                u"one-click paste."_s,
                u"**Manage Saved Commands…** — opens the Saved list."_s,
                u"**Brindlecap Builder Help** — opens this help window."_s,
                u"**Quit** (`⌘Q`)."_s,
            }},
        },
    };
    QCOMPARE(outline(MenuBarHelp()), outline(expected));
    QVERIFY(MenuBarHelp() == expected);
}

void TestHelpContent::shortcutsAsWritten()
{
    const HelpArticle expected{
        u"Keyboard Shortcuts"_s,
        std::nullopt,
        {
            HelpSection{u"Global"_s,
                        {HelpBullets{{
                            u"**`⇧⌘O`** — Open the main window (from menu-bar extra)."_s,
                            u"**`⌘?`** — Open this help window."_s,
                            u"**`⌘Q`** — Quit the app."_s,
                        }}}},
            HelpSection{u"Command Output panel"_s,
                        {HelpBullets{{
                            u"**`⇧⌘C`** — Copy the generated command to the clipboard."_s,
                            u"**`⇧⌘S`** — Save the current command for later."_s,
                        }}}},
            HelpSection{u"BPF Builder"_s, {HelpBullets{{u"**`⌘⏎`** — Add the current snippet to the filter."_s}}}},
        },
    };
    QCOMPARE(outline(ShortcutsHelp()), outline(expected));
    QVERIFY(ShortcutsHelp() == expected);
}

void TestHelpContent::selectedTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    const HelpArticle overview = OverviewHelp();
    QTest::newRow("overview opening") << std::get<HelpParagraph>(overview.content.at(0)).text
                                      << u"Brindlecap Builder is a form-driven command generator for FortiGate "
                                         u"troubleshooting. Instead of remembering the exact syntax of every "
                                         u"`diagnose`, `execute`, and `get` command, you fill in the parts you care "
                                         u"about and the app writes the CLI for you."_s;
    QTest::newRow("stop-debug code")
        << std::get<HelpCode>(section(overview, u"Reading generated commands"_s).content.at(1)).code
        << u"# When finished, stop the debug:\ndiagnose debug disable\ndiagnose debug reset"_s;
    QTest::newRow("sessions negate bullet")
        << std::get<HelpBullets>(section(SessionsHelp(), u"Fields"_s).content.at(0)).items.at(4)
        << u"**Negate filter** — inverts the match (show everything that does *not* match)."_s;
    QTest::newRow("flow inner quotes")
        << std::get<HelpParagraph>(FlowHelp().content.at(0)).text
        << u"Debug Flow shows exactly how the FortiGate handles a packet: routing lookup, policy match, session "
           u"creation, NAT, UTM inspection, and forwarding decisions. It's the go-to for \"why is this traffic being "
           u"denied?\" investigations."_s;
    QTest::newRow("vpn angle brackets")
        << std::get<HelpBullets>(section(VPNHelp(), u"Filters"_s).content.at(0)).items.at(1)
        << u"**Phase 2 / Tunnel name** — usually `<phase1>_P2` or your custom P2 name."_s;
    QTest::newRow("ha manage bullet")
        << std::get<HelpBullets>(section(HAHelp(), u"Actions"_s).content.at(0)).items.at(2)
        << u"**Manage another unit** — `execute ha manage <index> [<admin>]` to SSH-hop into another cluster member."_s;
    QTest::newRow("saved opening") << std::get<HelpParagraph>(SavedHelp().content.at(0)).text
                                   << u"Any command you save via **Save for Later** lands here. Entries are persisted "
                                      u"in `UserDefaults` and survive relaunches."_s;
    QTest::newRow("ping pmtu code")
        << std::get<HelpCode>(section(PingHelp(), u"PMTU-discovery example"_s).content.at(0)).code
        << u"exec ping-options source 10.1.1.1\nexec ping-options df-bit yes\nexec ping-options data-size 1472\n"
           u"exec ping-options view-settings\nexec ping 8.8.8.8"_s;
    QTest::newRow("about opening") << std::get<HelpParagraph>(AboutHelp().content.at(0)).text
                                   << u"Brindlecap Builder is a form-driven macOS app for producing FortiOS diagnostic "
                                      u"commands."_s;
    QTest::newRow("about disclaimer")
        << std::get<HelpParagraph>(section(AboutHelp(), u"Disclaimer"_s).content.at(0)).text
        << u"This is an independent tool and is not affiliated with, endorsed by, or sponsored by Fortinet, Inc. "
           u"FortiOS, FortiGate, and related marks are trademarks of Fortinet. Always validate generated commands "
           u"against the FortiOS version you're running before executing them in production."_s;
}

void TestHelpContent::selectedTexts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestHelpContent::offloadSnippetKeepsItsIndentation()
{
    const HelpArticle sniffer = SnifferHelp();
    const auto &code = std::get<HelpCode>(section(sniffer, u"⚠ Disable ASIC / NPU offload first"_s).content.at(1));
    const QStringList l = code.code.split(u'\n');
    QCOMPARE(l.size(), 5);
    QCOMPARE(l.at(0), u"config firewall policy"_s);
    QCOMPARE(l.at(1), u"    edit <policy-id>"_s);
    QCOMPARE(l.at(2), u"        set auto-asic-offload disable"_s);
    QCOMPARE(l.at(3), u"    next"_s);
    QCOMPARE(l.at(4), u"end"_s);
    QCOMPARE(code.code, lines(l));
    QVERIFY(!code.code.endsWith(u'\n'));
}

void TestHelpContent::aboutBylineIsOneLine()
{
    const QString byline = std::get<HelpParagraph>(AboutHelp().content.at(1)).text;
    QVERIFY(Text::isNonBlank(byline));
    QVERIFY(!byline.contains(u'\n'));
    QVERIFY(byline.size() <= 100);
}

QTEST_GUILESS_MAIN(TestHelpContent)
#include "tst_helpcontent.moc"
