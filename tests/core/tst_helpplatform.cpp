#include "help/helpcontent.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString savedCommandsFile = u"~/.config/Brindlecap/saved-commands.json"_s;

HelpPlatform linuxPlatform()
{
    return HelpPlatform::other(HelpPlatform::standardShortcutTexts(), savedCommandsFile);
}

// Every text of an article in order: title, subtitle, headings, paragraphs, bullet items, code.
QStringList texts(const HelpArticle &article)
{
    QStringList result;
    article.transformed([&](const QString &text) {
        result << text;
        return text;
    });
    return result;
}

// The texts that read differently off macOS, and how they read there.
const QHash<QString, QString> &linuxRewordings()
{
    static const QHash<QString, QString> table = {
        {u"**Copy** (`⇧⌘C`) — places the command on the clipboard, ready to paste into your SSH session."_s,
         u"**Copy** (`Ctrl+Shift+C`) — places the command on the clipboard, ready to paste into your SSH session."_s},
        {u"**Save to .txt** — writes the command to a plain-text file via a standard macOS Save panel. Useful for "
         u"attaching to tickets or emailing."_s,
         u"**Save to .txt** — writes the command to a plain-text file via a standard Save dialog. Useful for "
         u"attaching to tickets or emailing."_s},
        {u"**Save for Later** (`⇧⌘S`) — opens a sheet where you can name the command, add notes, and store it in the "
         u"app. Saved items appear under the **Saved Commands** sidebar entry."_s,
         u"**Save for Later** (`Ctrl+Shift+S`) — opens a sheet where you can name the command, add notes, and store "
         u"it in the app. Saved items appear under the **Saved Commands** sidebar entry."_s},
        {u"**Add to Filter** (`⌘⏎`) — appends the current snippet; **Clear Filter** empties the text field."_s,
         u"**Add to Filter** (`Ctrl+Return`) — appends the current snippet; **Clear Filter** empties the text "
         u"field."_s},
        {u"Any command you save via **Save for Later** lands here. Entries are persisted in `UserDefaults` and "
         u"survive relaunches."_s,
         u"Any command you save via **Save for Later** lands here. Entries are persisted in the saved-commands "
         u"file (`~/.config/Brindlecap/saved-commands.json`) and survive relaunches."_s},
        {u"A terminal-icon menu extra sits in the macOS menu bar. Click it any time — even when the main window is "
         u"closed — to:"_s,
         u"A terminal-icon tray item sits in the system tray. Click it any time — even when the main window is "
         u"closed — to:"_s},
        {u"**Open Brindlecap Builder** (`⇧⌘O`) — activates the app and brings the main window forward."_s,
         u"**Open Brindlecap Builder** (`Ctrl+Shift+O`) — activates the app and brings the main window forward."_s},
        {u"**Quit** (`⌘Q`)."_s, u"**Quit** (`Ctrl+Q`)."_s},
        {u"**`⇧⌘O`** — Open the main window (from menu-bar extra)."_s,
         u"**`Ctrl+Shift+O`** — Open the main window (from tray menu)."_s},
        {u"**`⌘?`** — Open this help window."_s, u"**`Ctrl+?`** or **`F1`** — Open this help window."_s},
        {u"**`⌘Q`** — Quit the app."_s, u"**`Ctrl+Q`** — Quit the app."_s},
        {u"**`⇧⌘C`** — Copy the generated command to the clipboard."_s,
         u"**`Ctrl+Shift+C`** — Copy the generated command to the clipboard."_s},
        {u"**`⇧⌘S`** — Save the current command for later."_s,
         u"**`Ctrl+Shift+S`** — Save the current command for later."_s},
        {u"**`⌘⏎`** — Add the current snippet to the filter."_s,
         u"**`Ctrl+Return`** — Add the current snippet to the filter."_s},
        {u"Brindlecap Builder is a form-driven macOS app for producing FortiOS diagnostic commands."_s,
         u"Brindlecap Builder is a form-driven desktop app for producing FortiOS diagnostic commands."_s},
    };
    return table;
}

} // namespace

class TestHelpPlatform : public QObject
{
    Q_OBJECT

private slots:
    void macOSShowsTheArticlesAsWritten();
    void linuxRewordsOnlyTheMacNames();
    void linuxLeavesNoMacKeysOrNames();
    void keysComeFromTheCaller();
    void replacementsAreNotRewrittenAgain();
    void currentAbbreviatesTheHomeFolder();
};

void TestHelpPlatform::macOSShowsTheArticlesAsWritten()
{
    const HelpPlatform mac = HelpPlatform::macOS();
    QVERIFY(mac.isMacOS());
    QVERIFY(mac.substitutions().isEmpty());
    QCOMPARE(articleFor(HelpTopic::shortcuts, mac), ShortcutsHelp());
    QCOMPARE(articleFor(HelpTopic::menuBar, mac), MenuBarHelp());
    QCOMPARE(articleFor(HelpTopic::saved, mac), SavedHelp());
    QCOMPARE(texts(articleFor(HelpTopic::about, mac)).at(2),
             u"Brindlecap Builder is a form-driven macOS app for producing FortiOS diagnostic commands."_s);
}

void TestHelpPlatform::linuxRewordsOnlyTheMacNames()
{
    const HelpPlatform platform = linuxPlatform();
    QVERIFY(!platform.isMacOS());
    qsizetype reworded = 0;
    for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
        const QStringList original = texts(articleFor(topic, HelpPlatform::macOS()));
        const QStringList mended = texts(articleFor(topic, platform));
        QCOMPARE(mended.size(), original.size());
        for (qsizetype i = 0; i < original.size(); ++i) {
            const QString expected = linuxRewordings().value(original.at(i), original.at(i));
            QCOMPARE(mended.at(i), expected);
            if (expected != original.at(i))
                ++reworded;
        }
    }
    QCOMPARE(reworded, linuxRewordings().size());
}

void TestHelpPlatform::linuxLeavesNoMacKeysOrNames()
{
    const QStringList macOnly = {
        u"⌘"_s, u"⇧"_s, u"⏎"_s, u"macOS"_s, u"UserDefaults"_s, u"menu extra"_s, u"menu-bar extra"_s};
    for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
        for (const QString &text : texts(articleFor(topic, linuxPlatform()))) {
            for (const QString &word : macOnly)
                QVERIFY2(!text.contains(word), qPrintable(text));
        }
    }
}

void TestHelpPlatform::keysComeFromTheCaller()
{
    HelpPlatform::ShortcutTexts keys{
        u"Strg+Umschalt+C"_s, u"Strg+Umschalt+S"_s, u"Strg+Umschalt+O"_s, u"Strg+?"_s, QString(),
        u"Strg+Eingabe"_s,    u"Strg+Q"_s};
    const QStringList shortcuts = texts(articleFor(HelpTopic::shortcuts, HelpPlatform::other(keys, {})));
    QCOMPARE(shortcuts.at(2), u"**`Strg+Umschalt+O`** — Open the main window (from tray menu)."_s);
    // Without a second key for help, only the first is named.
    QCOMPARE(shortcuts.at(3), u"**`Strg+?`** — Open this help window."_s);
    QCOMPARE(shortcuts.at(9), u"**`Strg+Eingabe`** — Add the current snippet to the filter."_s);

    // Without a known location the file is still mentioned, just not where it is.
    QCOMPARE(texts(articleFor(HelpTopic::saved, HelpPlatform::other(keys, {}))).at(2),
             u"Any command you save via **Save for Later** lands here. Entries are persisted in a file of their own "
             u"beside the application's settings and survive relaunches."_s);
}

void TestHelpPlatform::replacementsAreNotRewrittenAgain()
{
    const HelpPlatform platform =
        HelpPlatform::other(HelpPlatform::standardShortcutTexts(), u"/srv/⌘Q/macOS Save panel.conf"_s);
    QCOMPARE(texts(articleFor(HelpTopic::saved, platform)).at(2),
             u"Any command you save via **Save for Later** lands here. Entries are persisted in the saved-commands "
             u"file (`/srv/⌘Q/macOS Save panel.conf`) and survive relaunches."_s);
}

void TestHelpPlatform::currentAbbreviatesTheHomeFolder()
{
#ifdef Q_OS_MACOS
    QVERIFY(HelpPlatform::current(HelpPlatform::standardShortcutTexts(), QDir::homePath()).isMacOS());
#else
    const auto savedText = [](const QString &file) {
        return texts(articleFor(HelpTopic::saved, HelpPlatform::current(HelpPlatform::standardShortcutTexts(), file)))
            .at(2);
    };
    const QString home = QDir::homePath();
    QVERIFY(savedText(home + u"/.config/x/y.conf"_s).contains(u"(`~/.config/x/y.conf`)"_s));
    QVERIFY(savedText(u"/etc/y.conf"_s).contains(u"(`/etc/y.conf`)"_s));
    // A sibling folder whose name merely starts like the home folder is not inside it.
    QVERIFY(savedText(home + u"2/y.conf"_s).contains(u"(`"_s + home + u"2/y.conf`)"_s));
#endif
}

QTEST_GUILESS_MAIN(TestHelpPlatform)
#include "tst_helpplatform.moc"
