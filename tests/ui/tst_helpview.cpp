#include "app/appcontroller.h"
#include "app/helpmenucommand.h"
#include "app/mainwindow.h"
#include "help/helparticleview.h"
#include "help/helpcodeblock.h"
#include "help/helpcontent.h"
#include "help/helpinlinehtml.h"
#include "help/helpview.h"
#include "help/helpwindow.h"
#include "help/inlinemarkdown.h"

#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollArea>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

Q_DECLARE_METATYPE(HelpTopic)

namespace {

struct Fragment {
    QString text;
    QTextCharFormat format;
};

// The document a rich-text or selectable label paints: what the user reads, markup already applied.
QTextDocument *renderedDocument(QLabel *label)
{
    return label->findChild<QTextDocument *>();
}

QList<Fragment> fragments(QLabel *label)
{
    QList<Fragment> result;
    QTextDocument *document = renderedDocument(label);
    if (!document)
        return result;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            result.append({it.fragment().text(), it.fragment().charFormat()});
    }
    return result;
}

std::optional<Fragment> fragment(QLabel *label, const QString &text)
{
    for (const Fragment &f : fragments(label)) {
        if (f.text == text)
            return f;
    }
    return std::nullopt;
}

bool isBold(const QTextCharFormat &format)
{
    return format.fontWeight() >= QFont::Bold;
}

bool isCode(const QTextCharFormat &format)
{
    const QString mono = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return format.fontFamilies().toStringList().contains(mono);
}

// What the user reads in a label: the rendered text for rich text, the text itself otherwise.
QString readable(QLabel *label)
{
    if (label->textFormat() == Qt::RichText) {
        QTextDocument *document = renderedDocument(label);
        return document ? document->toPlainText() : QStringLiteral("<no document>");
    }
    return label->text();
}

QLabel *labelContaining(QWidget *view, const QString &objectName, const QString &text)
{
    for (QLabel *label : view->findChildren<QLabel *>(objectName)) {
        if (readable(label).contains(text))
            return label;
    }
    return nullptr;
}

// Every text shown for the article, in reading order.
QStringList readTexts(HelpArticleView *view)
{
    QStringList texts;
    for (QLabel *label : view->findChildren<QLabel *>()) {
        if (label->objectName() != QLatin1String("helpBullet"))
            texts << readable(label);
    }
    return texts;
}

// The same from the data: the texts with their markers removed.
QStringList expectedTexts(const HelpArticle &article)
{
    QStringList texts{article.title};
    if (article.subtitle)
        texts << *article.subtitle;
    const auto add = [&texts](const auto &self, const auto &block) -> void {
        using T = std::decay_t<decltype(block)>;
        if constexpr (std::is_same_v<T, HelpParagraph>) {
            texts << InlineMarkdown::plainText(block.text);
        } else if constexpr (std::is_same_v<T, HelpBullets>) {
            for (const QString &item : block.items)
                texts << InlineMarkdown::plainText(item);
        } else if constexpr (std::is_same_v<T, HelpCode>) {
            texts << block.code;
        } else {
            texts << InlineMarkdown::plainText(block.heading);
            for (const HelpSectionBlock &inner : block.content)
                std::visit([&](const auto &b) { self(self, b); }, inner);
        }
    };
    for (const HelpBlock &block : article.content)
        std::visit([&](const auto &b) { add(add, b); }, block);
    return texts;
}

HelpPlatform linuxPlatform()
{
    return HelpPlatform::other(HelpPlatform::standardShortcutTexts(), QStringLiteral("~/.config/b/b.conf"));
}

} // namespace

class TestHelpView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensOnOverview();
    void selectingATopicReplacesTheArticle_data();
    void selectingATopicReplacesTheArticle();
    void deselectingStillShowsOverview();
    void narrowWindowKeepsBothColumns();
    void boldParagraphWithoutAsterisks();
    void bulletWithBoldAndKeyText_data();
    void bulletWithBoldAndKeyText();
    void codeKeepsIndentationAndIsSelectable();
    void subtitleOnlyWhenPresent_data();
    void subtitleOnlyWhenPresent();
    void angleBracketsShowLiterally_data();
    void angleBracketsShowLiterally();
    void headingWithInlineCode();
    void inlineHtml_data();
    void inlineHtml();
    void everyArticleReadsWithoutMarkers_data();
    void everyArticleReadsWithoutMarkers();
    void platformWording();
    void shortcutTextsAreTheBoundKeys();

private:
    HelpView *view() const { return m_controller->helpWindow()->view(); }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget *sidebar = view()->sidebar();
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, modifiers,
                          sidebar->visualItemRect(sidebar->item(row)).center());
    }
    QString shownTitle() const
    {
        return view()->articleView()->findChild<QLabel *>(QStringLiteral("helpTitle"))->text();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppController> m_controller;
};

void TestHelpView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_controller = std::make_unique<AppController>(m_dir->filePath(QStringLiteral("settings.conf")));
    QVERIFY(QTest::qWaitForWindowExposed(m_controller->showHelp()));
}

void TestHelpView::cleanup()
{
    m_controller.reset();
}

void TestHelpView::opensOnOverview()
{
    HelpWindow *window = m_controller->helpWindow();
    QCOMPARE(window->size(), QSize(940, 640));
    QListWidget *sidebar = view()->sidebar();
    QCOMPARE(sidebar->accessibleName(), QStringLiteral("Help"));
    QCOMPARE(view()->findChild<QLabel *>(QStringLiteral("helpSidebarTitle"))->text(), QStringLiteral("Help"));
    QCOMPARE(sidebar->count(), 15);
    QCOMPARE(sidebar->selectionMode(), QAbstractItemView::SingleSelection);
    const QList<HelpTopic> topics = Enum::allCases<HelpTopic>();
    for (int i = 0; i < sidebar->count(); ++i) {
        QCOMPARE(sidebar->item(i)->text(), HelpTopics::title(topics.at(i)));
        QVERIFY(!sidebar->item(i)->icon().pixmap(18, 18).isNull());
    }
    QCOMPARE(sidebar->item(1)->text(), QStringLiteral("Workflow & Output"));

    QCOMPARE(sidebar->selectedItems().size(), 1);
    QCOMPARE(sidebar->selectedItems().first()->text(), QStringLiteral("Overview"));
    QCOMPARE(view()->topic(), std::optional(HelpTopic::overview));
    QCOMPARE(shownTitle(), QStringLiteral("Brindlecap Builder"));
    QCOMPARE(view()->articleView()->findChild<QLabel *>(QStringLiteral("helpSubtitle"))->text(),
             QStringLiteral("Build FortiOS diagnostic commands from simple forms."));
    QVERIFY(view()->articleView()->isVisible());

    const int sidebarWidth = sidebar->parentWidget()->width();
    QVERIFY2(sidebarWidth >= 200 && sidebarWidth <= 260, qPrintable(QString::number(sidebarWidth)));
    QVERIFY(view()->detail()->width() >= 560);
    // The article is padded by 24 on every side and as wide as the area.
    const QRect article = view()->articleView()->geometry();
    QCOMPARE(article.topLeft(), QPoint(24, 24));
    QCOMPARE(article.width(), view()->detail()->viewport()->width() - 48);
}

void TestHelpView::selectingATopicReplacesTheArticle_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<QString>("title");
    QTest::newRow("workflow") << HelpTopic::workflow << QStringLiteral("Workflow");
    QTest::newRow("sniffer") << HelpTopic::sniffer << QStringLiteral("Sniffer");
    QTest::newRow("vpn") << HelpTopic::vpn << QStringLiteral("VPN (IPsec)");
    QTest::newRow("menuBar") << HelpTopic::menuBar << QStringLiteral("Menu Bar");
    QTest::newRow("about") << HelpTopic::about << QStringLiteral("About");
}

void TestHelpView::selectingATopicReplacesTheArticle()
{
    QFETCH(HelpTopic, topic);
    QFETCH(QString, title);
    const QPointer<HelpArticleView> overview = view()->articleView();
    click(int(topic));
    QCOMPARE(view()->topic(), std::optional(topic));
    QCOMPARE(shownTitle(), title);
    QVERIFY(view()->articleView()->isVisible());
    QTRY_VERIFY(!overview); // the previous article is gone, not hidden behind
    QCOMPARE(view()->findChildren<HelpArticleView *>().size(), 1);

    click(0);
    QCOMPARE(shownTitle(), QStringLiteral("Brindlecap Builder"));
}

void TestHelpView::deselectingStillShowsOverview()
{
    QListWidget *sidebar = view()->sidebar();
    click(int(HelpTopic::ping));
    QCOMPARE(shownTitle(), QStringLiteral("Ping"));
    click(int(HelpTopic::ping), Qt::ControlModifier);
    QVERIFY(sidebar->selectedItems().isEmpty());
    QCOMPARE(view()->topic(), std::nullopt);
    QCOMPARE(view()->shownTopic(), HelpTopic::overview);
    QCOMPARE(shownTitle(), QStringLiteral("Brindlecap Builder"));
    QVERIFY(view()->articleView()->isVisible());

    // Deselecting Overview itself leaves its article in place.
    click(0);
    click(0, Qt::ControlModifier);
    QVERIFY(sidebar->selectedItems().isEmpty());
    QCOMPARE(shownTitle(), QStringLiteral("Brindlecap Builder"));
}

void TestHelpView::narrowWindowKeepsBothColumns()
{
    HelpWindow *window = m_controller->helpWindow();
    QCOMPARE(window->minimumSize(), QSize(720, 520));
    QWidget *sidebarColumn = view()->sidebar()->parentWidget();
    QScrollArea *detail = view()->detail();
    const auto rightEdge = [&] { return detail->mapTo(window, QPoint(detail->width(), 0)).x(); };

    window->resize(window->minimumSize());
    QTRY_COMPARE(window->size(), QSize(720, 520));
    // 200 + 560 do not fit in 720: the sidebar keeps its width, the article takes the rest and is not cut off.
    QTRY_COMPARE(rightEdge(), window->width());
    QVERIFY(sidebarColumn->isVisible());
    QCOMPARE(sidebarColumn->width(), 200);
    QVERIFY(detail->width() >= 500);

    window->resize(940, 640);
    QTRY_COMPARE(window->size(), QSize(940, 640));
    QTRY_COMPARE(rightEdge(), window->width());
    QVERIFY(detail->width() >= 560);
    QCOMPARE(detail->minimumWidth(), 560);
    QVERIFY(sidebarColumn->width() >= 200 && sidebarColumn->width() <= 260);
}

void TestHelpView::boldParagraphWithoutAsterisks()
{
    click(int(HelpTopic::workflow));
    QLabel *paragraph = labelContaining(view(), QStringLiteral("helpParagraph"), QStringLiteral("stop-debug block"));
    QVERIFY(paragraph);
    QVERIFY(!readable(paragraph).contains(u'*'));
    QVERIFY(readable(paragraph).startsWith(QStringLiteral("For any category that enables long-running debug output")));
    const auto bold = fragment(paragraph, QStringLiteral("stop-debug block"));
    QVERIFY(bold);
    QVERIFY(isBold(bold->format));
    const QList<Fragment> all = fragments(paragraph);
    QCOMPARE(all.size(), 3);
    QVERIFY(!isBold(all.first().format));
    QVERIFY(!isBold(all.last().format));
}

void TestHelpView::bulletWithBoldAndKeyText_data()
{
    QTest::addColumn<bool>("mac");
    QTest::addColumn<QString>("keys");
    QTest::newRow("macOS") << true << QStringLiteral("\u21e7\u2318C");
    QTest::newRow("Linux") << false << QStringLiteral("Ctrl+Shift+C");
}

void TestHelpView::bulletWithBoldAndKeyText()
{
    QFETCH(bool, mac);
    QFETCH(QString, keys);
    HelpView help(mac ? HelpPlatform::macOS() : linuxPlatform());
    help.setTopic(HelpTopic::workflow);
    QLabel *item = labelContaining(&help, QStringLiteral("helpBulletItem"), QStringLiteral("Copy ("));
    QVERIFY(item);
    QVERIFY(readable(item).startsWith(QStringLiteral("Copy (%1) \u2014 places the command").arg(keys)));
    const auto copy = fragment(item, QStringLiteral("Copy"));
    QVERIFY(copy);
    QVERIFY(isBold(copy->format));
    QVERIFY(!isCode(copy->format));
    const auto key = fragment(item, keys);
    QVERIFY(key);
    QVERIFY(isCode(key->format));
    QVERIFY(!isBold(key->format));

    // The bullet beside it: "•" in the secondary colour, 8 apart, on the same first line.
    QWidget *row = item->parentWidget();
    QLabel *bullet = nullptr;
    for (QLabel *b : row->findChildren<QLabel *>(QStringLiteral("helpBullet"))) {
        if (b->geometry().top() == item->geometry().top())
            bullet = b;
    }
    QVERIFY(bullet);
    QCOMPARE(bullet->text(), QStringLiteral("\u2022"));
    QCOMPARE(bullet->palette().color(QPalette::WindowText), help.palette().color(QPalette::PlaceholderText));
}

void TestHelpView::codeKeepsIndentationAndIsSelectable()
{
    click(int(HelpTopic::sniffer));
    const QList<HelpCodeBlock *> blocks = view()->articleView()->findChildren<HelpCodeBlock *>();
    QCOMPARE(blocks.size(), 2);
    QLabel *code = blocks.first()->label();
    QTextDocument *document = renderedDocument(code);
    QVERIFY(document);
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines << block.text();
    QCOMPARE(lines, (QStringList{QStringLiteral("config firewall policy"), QStringLiteral("    edit <policy-id>"),
                                 QStringLiteral("        set auto-asic-offload disable"), QStringLiteral("    next"),
                                 QStringLiteral("end")}));
    QVERIFY(code->font().fixedPitch() || QFontInfo(code->font()).fixedPitch());
    QVERIFY(code->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));

    // Selected and copied, the text comes back whole.
    QGuiApplication::clipboard()->clear();
    code->setFocus();
    code->setSelection(0, int(code->text().size()));
    QVERIFY(code->hasSelectedText());
    QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("config firewall policy\n    edit <policy-id>\n        set auto-asic-offload disable\n"
                            "    next\nend"));

    // The padding and the long example line stays one line of text, wrapped only on screen.
    QCOMPARE(blocks.first()->layout()->contentsMargins(), QMargins(10, 10, 10, 10));
    QVERIFY(blocks.last()->width() <= view()->articleView()->width());
    QCOMPARE(renderedDocument(blocks.last()->label())->blockCount(), 1);
}

void TestHelpView::subtitleOnlyWhenPresent_data()
{
    QTest::addColumn<HelpTopic>("topic");
    for (HelpTopic topic : Enum::allCases<HelpTopic>())
        QTest::newRow(qPrintable(Enum::caseName(topic))) << topic;
}

void TestHelpView::subtitleOnlyWhenPresent()
{
    QFETCH(HelpTopic, topic);
    view()->setTopic(topic);
    auto *subtitle = view()->articleView()->findChild<QLabel *>(QStringLiteral("helpSubtitle"));
    if (topic == HelpTopic::shortcuts) {
        QVERIFY(!subtitle);
        // The header holds the title alone: no empty line is reserved for the subtitle.
        QCOMPARE(
            view()->articleView()->findChild<QWidget *>(QStringLiteral("helpHeader"))->findChildren<QLabel *>().size(),
            1);
        return;
    }
    QVERIFY(subtitle);
    QVERIFY(!subtitle->text().isEmpty());
    QCOMPARE(subtitle->palette().color(QPalette::WindowText), view()->palette().color(QPalette::PlaceholderText));
}

void TestHelpView::angleBracketsShowLiterally_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<QString>("text");
    QTest::newRow("paragraph code") << HelpTopic::vpn << QStringLiteral("usually <phase1>_P2 or your custom P2 name");
    QTest::newRow("code block") << HelpTopic::sniffer << QStringLiteral("    edit <policy-id>");
    QTest::newRow("two in code") << HelpTopic::ha << QStringLiteral("execute ha manage <index> [<admin>]");
    QTest::newRow("routing") << HelpTopic::routing << QStringLiteral("routing-table details <ip> for");
}

void TestHelpView::angleBracketsShowLiterally()
{
    QFETCH(HelpTopic, topic);
    QFETCH(QString, text);
    view()->setTopic(topic);
    QVERIFY(readTexts(view()->articleView()).join(u'\n').contains(text));
}

void TestHelpView::headingWithInlineCode()
{
    click(int(HelpTopic::sniffer));
    QLabel *heading = labelContaining(view(), QStringLiteral("helpHeading"), QStringLiteral("Verbose levels"));
    QVERIFY(heading);
    QCOMPARE(readable(heading), QStringLiteral("Verbose levels (0\u20136)"));
    for (const QString &digit : {QStringLiteral("0"), QStringLiteral("6")}) {
        const auto f = fragment(heading, digit);
        QVERIFY(f);
        QVERIFY(isCode(f->format));
    }
    QVERIFY(heading->font().bold());
    QVERIFY(heading->font().pointSizeF() > view()->font().pointSizeF());
    QLabel *title = view()->articleView()->findChild<QLabel *>(QStringLiteral("helpTitle"));
    QVERIFY(title->font().bold());
    QVERIFY(title->font().pointSizeF() > heading->font().pointSizeF());
}

void TestHelpView::inlineHtml_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QString>("html");
    const QString code = QStringLiteral("<code style=\"font-family:'Mono'\">%1</code>");
    QTest::newRow("plain") << QStringLiteral("plain text") << QStringLiteral("plain text");
    QTest::newRow("bold") << QStringLiteral("a **b** c") << QStringLiteral("a <b>b</b> c");
    QTest::newRow("italic") << QStringLiteral("does *not* match") << QStringLiteral("does <i>not</i> match");
    QTest::newRow("code") << QStringLiteral("run `get x`")
                          << QStringLiteral("run ") + code.arg(QStringLiteral("get x"));
    QTest::newRow("bold around code") << QStringLiteral("**`\u2318Q`** quits")
                                      << QStringLiteral("<b>%1</b> quits").arg(code.arg(QStringLiteral("\u2318Q")));
    QTest::newRow("bold then code") << QStringLiteral("**Copy** (`C`)")
                                    << QStringLiteral("<b>Copy</b> (%1)").arg(code.arg(QStringLiteral("C")));
    QTest::newRow("angle brackets") << QStringLiteral("<phase1>_P2 & <b>")
                                    << QStringLiteral("&lt;phase1&gt;_P2 &amp; &lt;b&gt;");
    QTest::newRow("angle brackets in code")
        << QStringLiteral("`<policy-id>`") << code.arg(QStringLiteral("&lt;policy-id&gt;"));
    QTest::newRow("asterisks in code") << QStringLiteral("`a*b**c`") << code.arg(QStringLiteral("a*b**c"));
    QTest::newRow("quote in code") << QStringLiteral("`'x' \"y\"`") << code.arg(QStringLiteral("'x' &quot;y&quot;"));
    QTest::newRow("unmatched bold") << QStringLiteral("**open") << QStringLiteral("**open");
    QTest::newRow("unmatched quote") << QStringLiteral("a ` b") << QStringLiteral("a ` b");
    QTest::newRow("bold inside italic") << QStringLiteral("*a **b** c*")
                                        << QStringLiteral("<i>a </i><b><i>b</i></b><i> c</i>");
    QTest::newRow("empty") << QString() << QString();
}

void TestHelpView::inlineHtml()
{
    QFETCH(QString, markdown);
    QFETCH(QString, html);
    QCOMPARE(HelpInlineHtml::fromMarkdown(markdown, QStringLiteral("Mono")), html);
}

void TestHelpView::everyArticleReadsWithoutMarkers_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<bool>("mac");
    for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
        QTest::addRow("%s macOS", qPrintable(Enum::caseName(topic))) << topic << true;
        QTest::addRow("%s Linux", qPrintable(Enum::caseName(topic))) << topic << false;
    }
}

void TestHelpView::everyArticleReadsWithoutMarkers()
{
    QFETCH(HelpTopic, topic);
    QFETCH(bool, mac);
    const HelpPlatform platform = mac ? HelpPlatform::macOS() : linuxPlatform();
    HelpView help(platform);
    help.setTopic(topic);
    const QStringList texts = readTexts(help.articleView());
    QCOMPARE(texts, expectedTexts(articleFor(topic, platform)));
    static const QRegularExpression markup(QStringLiteral("</?(b|i|code)\\b|&(lt|gt|amp|quot);"));
    for (const QString &text : texts) {
        QVERIFY2(!text.contains(QStringLiteral("**")), qPrintable(text));
        QVERIFY2(!text.contains(u'`'), qPrintable(text));
        QVERIFY2(!markup.match(text).hasMatch(), qPrintable(text));
    }
}

void TestHelpView::platformWording()
{
    HelpView mac(HelpPlatform::macOS());
    mac.setTopic(HelpTopic::shortcuts);
    QVERIFY(labelContaining(&mac, QStringLiteral("helpBulletItem"),
                            QStringLiteral("\u21e7\u2318O \u2014 Open the main window (from menu-bar extra).")));
    QVERIFY(labelContaining(&mac, QStringLiteral("helpBulletItem"),
                            QStringLiteral("\u2318? \u2014 Open this help window.")));

    // The window in this test run names the keys as Qt does here, and the controller's settings file.
    if (HelpPlatform::current({}, {}).isMacOS())
        QSKIP("The Mac shows the articles as written");
    view()->setTopic(HelpTopic::shortcuts);
    QVERIFY(labelContaining(view(), QStringLiteral("helpBulletItem"),
                            QStringLiteral("Ctrl+Shift+O \u2014 Open the main window (from tray menu).")));
    QLabel *help = labelContaining(view(), QStringLiteral("helpBulletItem"),
                                   QStringLiteral("Ctrl+? or F1 \u2014 Open this help window."));
    QVERIFY(help);
    QVERIFY(isCode(fragment(help, QStringLiteral("F1"))->format));
    QVERIFY(isBold(fragment(help, QStringLiteral("F1"))->format));
    view()->setTopic(HelpTopic::saved);
    QLabel *saved =
        labelContaining(view(), QStringLiteral("helpParagraph"), QStringLiteral("Entries are persisted in"));
    QVERIFY(saved);
    const QString file = QDir::toNativeSeparators(m_dir->filePath(QStringLiteral("saved-commands.json")));
    QVERIFY2(readable(saved).contains(QStringLiteral("the saved-commands file (")) &&
                 (readable(saved).contains(file) || readable(saved).contains(u'~')),
             qPrintable(readable(saved)));
    QVERIFY(!readable(saved).contains(QStringLiteral("UserDefaults")));
}

void TestHelpView::shortcutTextsAreTheBoundKeys()
{
    const HelpPlatform::ShortcutTexts texts = HelpWindow::shortcutTexts();
    if (!HelpPlatform::current({}, {}).isMacOS()) {
        QCOMPARE(texts.copyCommand, QStringLiteral("Ctrl+Shift+C"));
        QCOMPARE(texts.saveForLater, QStringLiteral("Ctrl+Shift+S"));
        QCOMPARE(texts.openMainWindow, QStringLiteral("Ctrl+Shift+O"));
        QCOMPARE(texts.help, QStringLiteral("Ctrl+?"));
        QCOMPARE(texts.helpAlternative, QStringLiteral("F1"));
        QCOMPARE(texts.addToFilter, QStringLiteral("Ctrl+Return"));
        QCOMPARE(texts.quit, QStringLiteral("Ctrl+Q"));
    }

    // The help names the keys the actions are really bound to.
    const auto native = [](const QKeySequence &keys) { return keys.toString(QKeySequence::NativeText); };
    MainWindow *main = m_controller->showMainWindow();
    QStringList helpKeys;
    for (const QKeySequence &keys : m_controller->helpCommand()->shortcuts())
        helpKeys << native(keys);
    QCOMPARE(helpKeys, (QStringList{texts.help, texts.helpAlternative}));
    QCOMPARE(native(main->findChild<QAction *>(QStringLiteral("quit"))->shortcut()), texts.quit);
    QStringList panelKeys;
    for (QShortcut *shortcut : main->findChildren<QShortcut *>())
        panelKeys << native(shortcut->key());
    QVERIFY2(panelKeys.contains(texts.copyCommand) && panelKeys.contains(texts.saveForLater),
             qPrintable(panelKeys.join(u' ')));
}

QTEST_MAIN(TestHelpView)
#include "tst_helpview.moc"
