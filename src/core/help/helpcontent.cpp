#include "helpcontent.h"

#include "text.h"

using namespace Qt::StringLiterals;

namespace {

HelpCode codeLines(const QStringList &lines)
{
    return {Text::joinLines(lines)};
}

QString byline()
{
    return u"Written and maintained by the Brindlecap Builder developers."_s;
}

} // namespace

HelpArticle OverviewHelp()
{
    return {
        u"Brindlecap Builder"_s,
        u"Build FortiOS diagnostic commands from simple forms."_s,
        {
            HelpParagraph{u"Brindlecap Builder is a form-driven command generator for FortiGate "
                          u"troubleshooting. Instead of remembering the exact syntax of every `diagnose`, "
                          u"`execute`, and `get` command, you fill in the parts you care about and the app "
                          u"writes the CLI for you."_s},
            HelpSection{u"How the app is organized"_s,
                        {
                            HelpBullets{{
                                u"**Sidebar** — one entry per topic (Sessions, Ping, Traceroute, Sniffer, Debug "
                                u"Flow, VPN, System Top, HA, Routing, Saved Commands)."_s,
                                u"**Form area** — grouped fields for filters, options, and flags. Blank fields "
                                u"are omitted from the command."_s,
                                u"**Generated Command panel** — appears at the bottom of every category. This is "
                                u"the CLI text you'll paste into a FortiGate SSH session."_s,
                                u"**Save for Later** — persists a generated command with a title and notes for "
                                u"reuse later."_s,
                            }},
                        }},
            HelpSection{
                u"Reading generated commands"_s,
                {
                    HelpParagraph{u"Everything the app generates is safe to paste directly into a FortiGate CLI. "
                                  u"Lines starting with `#` are comments intended as reminders — they will be "
                                  u"ignored by the FortiGate."_s},
                    codeLines({
                        u"# When finished, stop the debug:"_s,
                        u"diagnose debug disable"_s,
                        u"diagnose debug reset"_s,
                    }),
                }},
        },
    };
}

HelpArticle WorkflowHelp()
{
    return {
        u"Workflow"_s,
        u"Copy · Save to .txt · Save for Later"_s,
        {
            HelpSection{u"The Generated Command panel"_s,
                        {
                            HelpBullets{{
                                u"**Copy** (`⇧⌘C`) — places the command on the clipboard, ready to paste into "
                                u"your SSH session."_s,
                                u"**Save to .txt** — writes the command to a plain-text file via a standard macOS "
                                u"Save panel. Useful for attaching to tickets or emailing."_s,
                                u"**Save for Later** (`⇧⌘S`) — opens a sheet where you can name the command, add "
                                u"notes, and store it in the app. Saved items appear under the **Saved Commands** "
                                u"sidebar entry."_s,
                            }},
                        }},
            HelpSection{
                u"Empty fields are skipped"_s,
                {
                    HelpParagraph{u"Every text field is optional unless the entire category requires one (e.g. a "
                                  u"ping needs a destination). Leaving a filter blank means \"don't add this to the "
                                  u"command.\" This lets you generate anything from a fully-scoped filter to a "
                                  u"wide-open one."_s},
                }},
            HelpSection{
                u"Stop-debug blocks"_s,
                {
                    HelpParagraph{u"For any category that enables long-running debug output (Debug Flow, VPN, HA, "
                                  u"Routing), the app appends a **stop-debug block** by default so you always have "
                                  u"the pair to turn it off. You can toggle this off if you just want to view a "
                                  u"specific state."_s},
                }},
        },
    };
}

HelpArticle SessionsHelp()
{
    return {
        u"Sessions"_s,
        u"diagnose sys session — inspect live flows"_s,
        {
            HelpParagraph{u"Use this to find a live session matching source/destination/port/protocol/VDOM "
                          u"criteria. All filters combine with AND."_s},
            HelpSection{u"Fields"_s,
                        {
                            HelpBullets{{
                                u"**Source IP / Destination IP** — packet's src/dst address."_s,
                                u"**Source Port / Destination Port** — L4 ports."_s,
                                u"**Protocol** — TCP (6), UDP (17), ICMP (1), GRE (47), ESP (50), or Any."_s,
                                u"**VDOM index** — numeric index (not name); check with `diagnose sys vd list`."_s,
                                u"**Negate filter** — inverts the match (show everything that does *not* match)."_s,
                                u"**Include session stats** — appends `diagnose sys session stat`."_s,
                                u"**Append `session list`** — dump matching sessions after applying the filter."_s,
                            }},
                        }},
            HelpSection{u"Example output"_s,
                        {
                            codeLines({
                                u"diagnose sys session filter clear"_s,
                                u"diagnose sys session filter src 10.1.1.10"_s,
                                u"diagnose sys session filter dst 8.8.8.8"_s,
                                u"diagnose sys session filter proto 1"_s,
                                u"diagnose sys session list"_s,
                            }),
                        }},
        },
    };
}

HelpArticle PingHelp()
{
    return {
        u"Ping"_s,
        u"exec ping-options / exec ping"_s,
        {
            HelpParagraph{u"Configures ping parameters via `exec ping-options`, optionally shows the "
                          u"resulting configuration with `view-settings`, then runs `exec ping`."_s},
            HelpSection{u"Notable options"_s,
                        {
                            HelpBullets{{
                                u"**Source IP** — pick the source address (useful with policy-based routing or "
                                u"SD-WAN)."_s,
                                u"**Egress Interface** — force the outgoing interface."_s,
                                u"**DF bit** — required for path-MTU testing."_s,
                                u"**Data Size** — set to `1472` for a classic 1500-byte MTU test."_s,
                                u"**Adaptive ping** — send as fast as possible; use carefully in production."_s,
                            }},
                        }},
            HelpSection{u"PMTU-discovery example"_s,
                        {
                            codeLines({
                                u"exec ping-options source 10.1.1.1"_s,
                                u"exec ping-options df-bit yes"_s,
                                u"exec ping-options data-size 1472"_s,
                                u"exec ping-options view-settings"_s,
                                u"exec ping 8.8.8.8"_s,
                            }),
                        }},
        },
    };
}

HelpArticle TracerouteHelp()
{
    return {
        u"Traceroute"_s,
        u"exec traceroute-options / exec traceroute"_s,
        {
            HelpParagraph{u"Same shape as Ping: configure with `exec traceroute-options`, optionally verify "
                          u"with `view-settings`, then run `exec traceroute`."_s},
            HelpSection{u"Notable options"_s,
                        {
                            HelpBullets{{
                                u"**Egress Interface** — force the outgoing interface (mostly useful in multi-WAN "
                                u"deployments)."_s,
                                u"**Queries per hop** — number of probes at each TTL."_s,
                                u"**Max TTL** — increase for long paths."_s,
                            }},
                        }},
        },
    };
}

HelpArticle SnifferHelp()
{
    return {
        u"Sniffer"_s,
        u"diagnose sniffer packet — with pcap-style filters"_s,
        {
            HelpParagraph{u"Runs a packet capture on one or more FortiGate interfaces using tcpdump/BPF "
                          u"filter syntax."_s},
            HelpSection{
                u"⚠ Disable ASIC / NPU offload first"_s,
                {
                    HelpParagraph{u"On offload-capable FortiGates, hardware-accelerated sessions bypass the "
                                  u"CPU-based sniffer after the first few packets. If you only see the SYN and "
                                  u"nothing else, the flow is being handled by NP/SP hardware. Disable offload on "
                                  u"the policy you're troubleshooting and re-create the session before capturing:"_s},
                    codeLines({
                        u"config firewall policy"_s,
                        u"    edit <policy-id>"_s,
                        u"        set auto-asic-offload disable"_s,
                        u"    next"_s,
                        u"end"_s,
                    }),
                    HelpParagraph{u"The Sniffer screen shows this reminder inline with a **Copy Offload-Disable "
                                  u"Snippet** button. Remember to re-enable offload when you're done, or "
                                  u"performance will suffer."_s},
                }},
            HelpSection{u"Interface"_s,
                        {
                            HelpBullets{{
                                u"Type any interface name — the field is free-text so `port1.20`, `vlan100`, "
                                u"`guest-wifi`, etc. all work."_s,
                                u"**Presets** menu offers common names, and lets you save your own via **Add "
                                u"Custom Interface…** — saved names persist across launches."_s,
                                u"**Save Current as Custom…** — pre-fills the sheet with whatever's in the text "
                                u"field."_s,
                            }},
                        }},
            HelpSection{u"Verbose levels (`0`–`6`)"_s,
                        {
                            HelpBullets{{
                                u"**1** — headers only"_s,
                                u"**2** — headers + IP data"_s,
                                u"**3** — headers + Ethernet data"_s,
                                u"**4** — headers + interface names (default)"_s,
                                u"**5** — IP data + interface names"_s,
                                u"**6** — Ethernet data + interface names (full pcap)"_s,
                            }},
                        }},
            HelpSection{
                u"Filter — simple vs BPF mode"_s,
                {
                    HelpParagraph{u"With **Use custom BPF filter expression** off, the app shows a simple builder "
                                  u"with Host / Network / Port / Protocol and a src/dst/either selector for each."_s},
                    HelpParagraph{u"Turn the toggle on to get the **BPF Builder**: presets for common expressions "
                                  u"and a snippet builder for BPF-only primitives (MAC address, VLAN, TCP flags, "
                                  u"ICMP types, ether/ip proto numbers). Snippets are combined with your chosen "
                                  u"AND/OR operator, optionally wrapped in parens, and optionally negated."_s},
                }},
            HelpSection{u"BPF Builder controls"_s,
                        {
                            HelpBullets{{
                                u"**Presets** — one-click TCP SYN, TCP RST, New TCP (`SYN` without `ACK`), ICMP "
                                u"ping, ARP, VLAN, IPv6, Broadcast, Multicast."_s,
                                u"**Snippet type** — Host / Network / Port / Protocol / Ethernet host / VLAN / "
                                u"TCP flag / ICMP type / Ether broadcast / Ether multicast / IP version / Ether "
                                u"protocol # / IP protocol #."_s,
                                u"**Negate** — wraps the fragment as `not (...)`."_s,
                                u"**Wrap in parens** — protects operator precedence when combining."_s,
                                u"**Combine with** — AND / OR used when appending onto an existing expression."_s,
                                u"**Add to Filter** (`⌘⏎`) — appends the current snippet; **Clear Filter** "
                                u"empties the text field."_s,
                            }},
                        }},
            HelpSection{u"Example"_s,
                        {
                            codeLines({
                                u"diagnose sniffer packet any '(tcp) and (src host 10.0.0.1) and ((dst port 80 or "
                                u"dst port 443))' 4 0 l"_s,
                            }),
                        }},
        },
    };
}

HelpArticle FlowHelp()
{
    return {
        u"Debug Flow"_s,
        u"diagnose debug flow — trace packet path through kernel"_s,
        {
            HelpParagraph{u"Debug Flow shows exactly how the FortiGate handles a packet: routing lookup, "
                          u"policy match, session creation, NAT, UTM inspection, and forwarding decisions. "
                          u"It's the go-to for \"why is this traffic being denied?\" investigations."_s},
            HelpSection{u"Recommended flow"_s,
                        {
                            HelpBullets{{
                                u"Enable **Reset debug state first** so old filters don't leak in."_s,
                                u"Set narrow **address / port / protocol** filters — an unfiltered flow trace on "
                                u"a busy box floods the console."_s,
                                u"Set a **Trace Count** (default `1000`) to bound output."_s,
                                u"Enable **Console timestamps** for correlating with pcaps."_s,
                                u"Keep **Append stop-debug block** on so you never leave debug running."_s,
                                u"Generate a triggering flow (e.g. a ping / TCP connect) from the client side "
                                u"while the debug is active."_s,
                            }},
                        }},
        },
    };
}

HelpArticle VPNHelp()
{
    return {
        u"VPN (IPsec)"_s,
        u"diagnose vpn ike / tunnel + IKE debug"_s,
        {
            HelpParagraph{u"Combines status-inspection (`ike gateway list`, `tunnel list`) with a live IKE "
                          u"debug (`diagnose debug application ike -1`). Use the filters to scope the debug "
                          u"to one peer so the output stays manageable."_s},
            HelpSection{u"Filters"_s,
                        {
                            HelpBullets{{
                                u"**Phase 1 / Gateway name** — appears in your VPN config (`config vpn ipsec "
                                u"phase1-interface`)."_s,
                                u"**Phase 2 / Tunnel name** — usually `<phase1>_P2` or your custom P2 name."_s,
                                u"**Peer IPv4** — the remote gateway address; useful when Phase 1 uses a dynamic "
                                u"name."_s,
                                u"**IKE debug level** — `-1` prints everything (default). Lower to reduce noise."_s,
                            }},
                        }},
        },
    };
}

HelpArticle TopHelp()
{
    return {
        u"System Top"_s,
        u"diagnose sys top — CPU, memory, and I/O usage"_s,
        {
            HelpSection{u"Variants"_s,
                        {
                            HelpBullets{{
                                u"**diagnose sys top** — interactive process list. Press `p` to sort by CPU, `m` "
                                u"by memory, `q` to quit."_s,
                                u"**diagnose sys top-summary** — the same but also groups process counts by state."_s,
                                u"**diagnose sys top-mem** — one-shot snapshot sorted by memory (great for leak "
                                u"hunts)."_s,
                                u"**diagnose sys top-io** — sorted by disk/flash I/O (newer FortiOS)."_s,
                            }},
                        }},
            HelpSection{u"Options"_s,
                        {
                            HelpBullets{{
                                u"**Refresh delay** — seconds between updates (default `5`). Ignored for "
                                u"`top-mem`."_s,
                                u"**Max lines** — number of processes shown (default `20`)."_s,
                            }},
                        }},
            HelpSection{
                u"Companion commands"_s,
                {
                    HelpParagraph{u"Enable any of the toggles to prepend a snapshot of `get system performance "
                                  u"status`, hardware CPU/memory/interrupt/shm info, or conserve-mode thresholds. "
                                  u"Useful to capture context before diving into a live `top`."_s},
                }},
        },
    };
}

HelpArticle HAHelp()
{
    return {
        u"HA"_s,
        u"Cluster status, checksums, and live sync/talk debug"_s,
        {
            HelpSection{u"Status commands"_s,
                        {
                            HelpBullets{{
                                u"**HA status** — `get system ha status` + `diagnose sys ha status`."_s,
                                u"**Cluster checksum** — detect out-of-sync members with `diagnose sys ha "
                                u"checksum cluster`."_s,
                                u"**Global / root checksums** — narrow the mismatch to a config scope."_s,
                                u"**Full HA dump** — group / vcluster dumps for deep inspection."_s,
                            }},
                        }},
            HelpSection{u"Actions"_s,
                        {
                            HelpBullets{{
                                u"**Force full sync** — `execute ha synchronize all` (safe, triggers a re-sync)."_s,
                                u"**Reset HA uptime** — may trigger a failover; only run when you intend to "
                                u"change the primary."_s,
                                u"**Manage another unit** — `execute ha manage <index> [<admin>]` to SSH-hop into "
                                u"another cluster member."_s,
                            }},
                        }},
            HelpSection{u"Live debug"_s,
                        {
                            HelpBullets{{
                                u"**hatalk** — heartbeat traffic between members."_s,
                                u"**hasync** — config synchronization between members."_s,
                            }},
                        }},
        },
    };
}

HelpArticle RoutingHelp()
{
    return {
        u"Routing"_s,
        u"OSPF · BGP · Static"_s,
        {
            HelpSection{u"OSPF"_s,
                        {
                            HelpBullets{{
                                u"Show status / neighbors / interfaces / LSDB / OSPF routes."_s,
                                u"**Live debug** enables `diagnose ip router ospf all enable` + `level info` — "
                                u"very verbose; use short bursts."_s,
                            }},
                        }},
            HelpSection{u"BGP"_s,
                        {
                            HelpBullets{{
                                u"**Summary** for a health snapshot."_s,
                                u"Enter a **Neighbor IP** to enable `routes` and `advertised-routes` toggles for "
                                u"that peer."_s,
                                u"**Locally originated networks** — `get router info bgp network`."_s,
                                u"**Live debug** — pair with a specific neighbor to reduce output volume."_s,
                            }},
                        }},
            HelpSection{u"Static / RIB"_s,
                        {
                            HelpBullets{{
                                u"**Static routes** — configured static-route table."_s,
                                u"**Full RIB** — merged view across all protocols."_s,
                                u"**RIB database** — includes hidden/backup routes."_s,
                                u"**Policy-based routes** — `diagnose firewall proute list` (v4 + v6)."_s,
                                u"**Lookup destination** — appends `get router info routing-table details <ip>` "
                                u"for a forwarding decision on a specific IP."_s,
                            }},
                        }},
        },
    };
}

HelpArticle SavedHelp()
{
    return {
        u"Saved Commands"_s,
        u"Store, edit, search, and export"_s,
        {
            HelpParagraph{u"Any command you save via **Save for Later** lands here. Entries are persisted "
                          u"in `UserDefaults` and survive relaunches."_s},
            HelpSection{u"What you can do"_s,
                        {
                            HelpBullets{{
                                u"**Search** — filters by title, category, notes, or the command text."_s,
                                u"**Edit** — rename an entry and edit its notes at any time."_s,
                                u"**Copy** / **Export to .txt** — same actions as the generator panel."_s,
                                u"**Delete** — permanent; a confirmation dialog runs first."_s,
                                u"**Context menu** — right-click any list row for quick Copy / Export / Delete."_s,
                            }},
                        }},
        },
    };
}

HelpArticle MenuBarHelp()
{
    return {
        u"Menu Bar"_s,
        u"Quick access without switching windows"_s,
        {
            HelpParagraph{u"A terminal-icon menu extra sits in the macOS menu bar. Click it any time — even "
                          u"when the main window is closed — to:"_s},
            HelpBullets{{
                u"**Open Brindlecap Builder** (`⇧⌘O`) — activates the app and brings the main "
                u"window forward."_s,
                u"**New Command** — submenu of every category; picking one jumps the window "
                u"straight to that form."_s,
                u"**Recent Saved Commands** — the 10 most-recent items, each with a **Copy to "
                u"Clipboard** action for one-click paste."_s,
                u"**Manage Saved Commands…** — opens the Saved list."_s,
                u"**Brindlecap Builder Help** — opens this help window."_s,
                u"**Quit** (`⌘Q`)."_s,
            }},
        },
    };
}

HelpArticle ShortcutsHelp()
{
    return {
        u"Keyboard Shortcuts"_s,
        std::nullopt,
        {
            HelpSection{u"Global"_s,
                        {
                            HelpBullets{{
                                u"**`⇧⌘O`** — Open the main window (from menu-bar extra)."_s,
                                u"**`⌘?`** — Open this help window."_s,
                                u"**`⌘Q`** — Quit the app."_s,
                            }},
                        }},
            HelpSection{u"Command Output panel"_s,
                        {
                            HelpBullets{{
                                u"**`⇧⌘C`** — Copy the generated command to the clipboard."_s,
                                u"**`⇧⌘S`** — Save the current command for later."_s,
                            }},
                        }},
            HelpSection{u"BPF Builder"_s,
                        {
                            HelpBullets{{
                                u"**`⌘⏎`** — Add the current snippet to the filter."_s,
                            }},
                        }},
        },
    };
}

HelpArticle AboutHelp()
{
    return {
        u"About"_s,
        u"Brindlecap Builder"_s,
        {
            HelpParagraph{u"Brindlecap Builder is a form-driven macOS app for producing FortiOS diagnostic "
                          u"commands."_s},
            HelpParagraph{byline()},
            HelpSection{
                u"Disclaimer"_s,
                {
                    HelpParagraph{u"This is an independent tool and is not affiliated with, endorsed by, or "
                                  u"sponsored by Fortinet, Inc. FortiOS, FortiGate, and related marks are "
                                  u"trademarks of Fortinet. Always validate generated commands against the FortiOS "
                                  u"version you're running before executing them in production."_s},
                }},
        },
    };
}

HelpArticle articleFor(HelpTopic topic, const HelpPlatform &platform)
{
    struct View {
        HelpTopic topic;
        HelpArticle (*article)();
    };
    static constexpr std::array views = {
        View{HelpTopic::overview, &OverviewHelp},
        View{HelpTopic::workflow, &WorkflowHelp},
        View{HelpTopic::sessions, &SessionsHelp},
        View{HelpTopic::ping, &PingHelp},
        View{HelpTopic::traceroute, &TracerouteHelp},
        View{HelpTopic::sniffer, &SnifferHelp},
        View{HelpTopic::flow, &FlowHelp},
        View{HelpTopic::vpn, &VPNHelp},
        View{HelpTopic::top, &TopHelp},
        View{HelpTopic::ha, &HAHelp},
        View{HelpTopic::routing, &RoutingHelp},
        View{HelpTopic::saved, &SavedHelp},
        View{HelpTopic::menuBar, &MenuBarHelp},
        View{HelpTopic::shortcuts, &ShortcutsHelp},
        View{HelpTopic::about, &AboutHelp},
    };
    static_assert(views.size() == EnumTraits<HelpTopic>::cases.size());
    for (const View &view : views) {
        if (view.topic == topic)
            return platform.mended(view.article());
    }
    return platform.mended(OverviewHelp()); // unreachable: every topic has a view
}
