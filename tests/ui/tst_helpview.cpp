#include "app/appcontroller.h"
#include "app/helpmenucommand.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "builders/bpfbuilderview.h"
#include "help/helparticleview.h"
#include "help/helpcontent.h"
#include "help/helpview.h"
#include "help/helpwindow.h"
#include "help/inlinemarkdown.h"
#include "helptexts.h"
#include "model/settingsstorage.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

Q_DECLARE_METATYPE(HelpTopic)

namespace {
// What the user reads: the document a label paints when it has one (rich or selectable text), so
// markup left unrendered and collapsed spaces both show.
QString readable(QLabel *label)
{
    const auto *document = label->findChild<QTextDocument *>();
    return document ? document->toPlainText() : label->text();
}

// The rendered runs as their flags (Bold, Italic, Code) and text: "B[Copy] [ (] C[⇧⌘C]".
QString runs(QLabel *label)
{
    const QString mono = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QStringList result;
    for (QTextBlock block = label->findChild<QTextDocument *>()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            result << QStringLiteral("%1%2%3[%4]")
                          .arg(QLatin1String(format.fontWeight() >= QFont::Bold ? "B" : ""),
                               QLatin1String(format.fontItalic() ? "I" : ""),
                               QLatin1String(format.fontFamilies().toStringList().contains(mono) ? "C" : ""),
                               it.fragment().text());
        }
    }
    return result.join(u' ');
}
} // namespace

class TestHelpView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyArticleReads_data();
    void everyArticleReads();
    void inlineMarkdownRenders_data();
    void inlineMarkdownRenders();
    void narrowWindowKeepsBothColumns();
    void shortcutTextsAreTheBoundKeys();

private:
    HelpView *view() const { return m_controller->helpWindow()->view(); }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget *sidebar = view()->sidebar();
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, modifiers,
                          sidebar->visualItemRect(sidebar->item(row)).center());
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

void TestHelpView::everyArticleReads_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<bool>("mac");
    for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
        QTest::addRow("%s macOS", qPrintable(Enum::caseName(topic))) << topic << true;
        QTest::addRow("%s window", qPrintable(Enum::caseName(topic))) << topic << false;
    }
}

// Every label in reading order reads as the article's text without markers; code reads exactly as
// written, indentation included, and can be selected whole. The window's own article is picked in its
// sidebar and worded with the keys and saved-commands file it really uses.
void TestHelpView::everyArticleReads()
{
    QFETCH(HelpTopic, topic);
    QFETCH(bool, mac);
    HelpView macView(HelpPlatform::macOS());
    HelpView *help = mac ? &macView : view();
    const QPointer<HelpArticleView> previous = help->articleView();
    mac ? help->setTopic(topic) : click(int(topic));
    QCOMPARE(help->topic(), std::optional(topic));
    QCOMPARE(help->sidebar()->currentItem()->text(), HelpTopics::title(topic));
    if (topic != HelpTopic::overview)
        QTRY_VERIFY(!previous); // replaced, not hidden behind the new one
    const auto saved =
        SettingsStorage(m_dir->filePath(QStringLiteral("settings.conf"))).pathOf(SettingsStorage::savedCommands);
    const HelpArticle article =
        articleFor(topic, mac ? HelpPlatform::macOS() : HelpPlatform::current(HelpWindow::shortcutTexts(), saved));

    const QList<QLabel *> labels = help->articleView()->findChildren<QLabel *>();
    QStringList expected;
    for (const HelpText &t : helpTexts(article)) {
        if (t.kind == HelpText::bullet)
            expected << QStringLiteral("\u2022");
        const bool asWritten = t.kind == HelpText::title || t.kind == HelpText::subtitle || t.kind == HelpText::code;
        expected << (asWritten ? t.text : InlineMarkdown::plainText(t.text));
        if (QLabel *code = labels.value(expected.size() - 1); t.kind == HelpText::code && code) {
            QVERIFY(QFontInfo(code->font()).fixedPitch());
            code->setSelection(0, int(t.text.size()));
            QCOMPARE(code->selectedText().replace(QChar::ParagraphSeparator, u'\n'), t.text);
        }
    }
    QStringList shown;
    for (QLabel *label : labels)
        shown << readable(label);
    QCOMPARE(shown, expected);
    static const QRegularExpression markup(QStringLiteral("\\*\\*|`|</?(b|i|code)\\b|&(lt|gt|amp|quot);"));
    for (const QString &text : shown)
        QVERIFY2(!markup.match(text).hasMatch(), qPrintable(text));

    // With nothing selected the Overview is shown.
    if (!mac) {
        click(int(topic), Qt::ControlModifier);
        QVERIFY(help->sidebar()->selectedItems().isEmpty());
        QCOMPARE(help->articleView()->findChild<QLabel *>(QStringLiteral("helpTitle"))->text(),
                 articleFor(HelpTopic::overview, HelpPlatform::macOS()).title);
    }
}

void TestHelpView::inlineMarkdownRenders_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QString>("rendered");
    QTest::newRow("bold") << QStringLiteral("a **b** c") << QStringLiteral("[a ] B[b] [ c]");
    QTest::newRow("italic") << QStringLiteral("does *not* match") << QStringLiteral("[does ] I[not] [ match]");
    QTest::newRow("code") << QStringLiteral("run `get x`") << QStringLiteral("[run ] C[get x]");
    QTest::newRow("bold key") << QStringLiteral("**Copy** (`⇧⌘C`)") << QStringLiteral("B[Copy] [ (] C[⇧⌘C] [)]");
    QTest::newRow("bold around code") << QStringLiteral("**`⌘Q`** quits") << QStringLiteral("BC[⌘Q] [ quits]");
    QTest::newRow("nested") << QStringLiteral("*a **b** c*") << QStringLiteral("I[a ] BI[b] I[ c]");
    QTest::newRow("escaped") << QStringLiteral("<b>x</b> & `<id> \"'`") << QStringLiteral("[<b>x</b> & ] C[<id> \"']");
    QTest::newRow("unmatched") << QStringLiteral("**open ` b") << QStringLiteral("[**open ` b]");
}

// The same Markdown reads the same in a paragraph, a bullet and a heading; headings are bold and larger.
void TestHelpView::inlineMarkdownRenders()
{
    QFETCH(QString, markdown);
    QFETCH(QString, rendered);
    HelpArticleView view(HelpArticle{QStringLiteral("T"),
                                     std::nullopt,
                                     {HelpParagraph{markdown}, HelpBullets{{markdown}}, HelpSection{markdown, {}}}});
    view.adjustSize(); // lays the labels' text out, as showing it would
    const auto label = [&](const char *name) { return view.findChild<QLabel *>(QLatin1String(name)); };
    for (const char *name : {"helpParagraph", "helpBulletItem", "helpHeading"}) {
        QCOMPARE(runs(label(name)), rendered);
        QCOMPARE(label(name)->accessibleName(), InlineMarkdown::plainText(markdown));
    }
    QVERIFY(label("helpHeading")->font().bold());
    QVERIFY(label("helpHeading")->font().pointSizeF() > label("helpParagraph")->font().pointSizeF());
}

// At the window's minimum width the article gives way to the sidebar instead of being cut off.
void TestHelpView::narrowWindowKeepsBothColumns()
{
    HelpWindow *window = m_controller->helpWindow();
    QScrollArea *detail = view()->detail();
    QWidget *sidebar = view()->sidebar()->parentWidget();
    for (const QSize &size : {window->minimumSize(), QSize(940, 640)}) {
        window->resize(size);
        QTRY_COMPARE(detail->mapTo(window, QPoint(detail->width(), 0)).x(), window->width());
        QVERIFY(sidebar->isVisible() && sidebar->width() >= sidebar->minimumWidth() && detail->width() >= 500);
    }
    QCOMPARE(detail->minimumWidth(), 560);
}

// The keys the help names are those the actions and shortcuts are really bound to, found by what they do.
void TestHelpView::shortcutTextsAreTheBoundKeys()
{
    MainWindow *main = m_controller->showMainWindow();
    MenuBarView tray(*m_controller);
    QString filter;
    BPFBuilderView bpf(filter, [] {});
    const auto native = [](const QKeySequence &keys) { return keys.toString(QKeySequence::NativeText); };
    const auto tip = [&](const char *name) {
        return main->findChild<QAbstractButton *>(QLatin1String(name))->toolTip();
    };
    const HelpPlatform::ShortcutTexts texts = HelpWindow::shortcutTexts();
    QCOMPARE((QStringList{texts.copyCommand, texts.saveForLater, texts.openMainWindow, texts.help,
                          texts.helpAlternative, texts.addToFilter, texts.quit}),
             (QStringList{tip("copy"), tip("saveForLater"),
                          native(tray.menu()->findChild<QAction *>(QStringLiteral("openMainWindow"))->shortcut()),
                          native(m_controller->helpCommand()->shortcuts().value(0)),
                          native(m_controller->helpCommand()->shortcuts().value(1)),
                          native(bpf.findChild<QAbstractButton *>(QStringLiteral("addToFilter"))->shortcut()),
                          native(main->findChild<QAction *>(QStringLiteral("quit"))->shortcut())}));
}

QTEST_MAIN(TestHelpView)
#include "tst_helpview.moc"
