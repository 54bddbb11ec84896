#include "app/appcontroller.h"
#include "app/helpmenucommand.h"
#include "app/mainwindow.h"
#include "builders/bpfbuilderview.h"
#include "help/helparticleview.h"
#include "help/helpcontent.h"
#include "help/helpinlinehtml.h"
#include "help/helpview.h"
#include "help/helpwindow.h"
#include "helptexts.h"
#include "model/settingsstorage.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(HelpTopic)

namespace {
// What the user reads: the text a label paints from its QTextDocument when it has one (rich or
// selectable text), so collapsed spaces show; rich text as its runs, so unrendered markup or a lost
// format shows too.
QString reading(QLabel *label)
{
    const auto *document = label->findChild<QTextDocument *>();
    if (!document || label->textFormat() != Qt::RichText)
        return document ? document->toPlainText() : label->text();
    const QString mono = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QList<InlineSpan> runs;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            runs.append({it.fragment().text().remove(QChar(0x2060)), format.fontWeight() >= QFont::Bold,
                         format.fontItalic(), format.fontFamilies().toStringList().contains(mono)});
        }
    }
    return spansText(runs);
}
} // namespace

class TestHelpView : public QObject
{
    Q_OBJECT

    HelpView *view() const { return m_controller->helpWindow()->view(); }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListWidget *sidebar = view()->sidebar();
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, modifiers,
                          sidebar->visualItemRect(sidebar->item(row)).center());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppController> m_controller;

private slots:
    void cleanup() { m_controller.reset(); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_controller = std::make_unique<AppController>(m_dir->filePath(u"settings.conf"_s));
        QVERIFY(QTest::qWaitForWindowExposed(m_controller->showHelp()));
    }

    void everyArticleReads_data()
    {
        QTest::addColumn<HelpTopic>("topic");
        QTest::addColumn<bool>("mac");
        for (HelpTopic topic : Enum::allCases<HelpTopic>()) {
            QTest::addRow("%s macOS", qPrintable(Enum::caseName(topic))) << topic << true;
            QTest::addRow("%s window", qPrintable(Enum::caseName(topic))) << topic << false;
        }
    }

    // Every label in reading order reads as the article's text, its Markdown rendered as the core parses
    // it; headings stand out; code reads exactly as written, indentation included, and can be selected
    // whole. The window's own article is picked in its sidebar and worded with the keys and saved-commands
    // file it really uses.
    void everyArticleReads()
    {
        QFETCH(HelpTopic, topic);
        QFETCH(bool, mac);
        HelpView macView(HelpPlatform::macOS());
        HelpView *help = mac ? &macView : view();
        const QPointer<HelpArticleView> previous = help->articleView();
        mac ? help->setTopic(topic) : click(int(topic));
        QCOMPARE(help->sidebar()->currentItem()->text(), HelpTopics::title(topic));
        if (topic != HelpTopic::overview)
            QTRY_VERIFY(!previous); // replaced, not hidden behind the new one
        const auto saved = SettingsStorage(m_dir->filePath(u"settings.conf"_s)).pathOf(SettingsStorage::savedCommands);
        const HelpArticle article =
            articleFor(topic, mac ? HelpPlatform::macOS() : HelpPlatform::current(HelpWindow::shortcutTexts(), saved));

        const QList<QLabel *> labels = help->articleView()->findChildren<QLabel *>();
        QStringList expected;
        for (const HelpText &t : helpTexts(article)) {
            if (t.kind == HelpText::bullet)
                expected << u"\u2022"_s;
            expected << (t.marked() ? spansText(InlineMarkdown::parse(t.text)) : t.text);
            QLabel *label = labels.value(expected.size() - 1);
            if (!label)
                continue; // a missing label shows in the comparison below
            if (t.marked())
                QCOMPARE(label->accessibleName(), t.read());
            if (t.kind == HelpText::heading)
                QVERIFY(label->font().bold() && label->font().pointSizeF() > help->font().pointSizeF());
            if (t.kind == HelpText::code) {
                // By the widths drawn: fontconfig does not say "fixed pitch" of every monospaced font.
                const QFontMetrics metrics(label->font());
                QCOMPARE(metrics.horizontalAdvance(u"iiii"_s), metrics.horizontalAdvance(u"MMMM"_s));
                label->setSelection(0, int(t.text.size()));
                QCOMPARE(label->selectedText().replace(QChar::ParagraphSeparator, u'\n'), t.text);
            }
        }
        QStringList shown;
        for (QLabel *label : labels)
            shown << reading(label);
        QCOMPARE(shown, expected);

        // With nothing selected the Overview is shown.
        if (!mac) {
            click(int(topic), Qt::ControlModifier);
            QVERIFY(help->sidebar()->selectedItems().isEmpty());
            QCOMPARE(help->articleView()->findChild<QLabel *>(u"helpTitle"_s)->text(),
                     articleFor(HelpTopic::overview, HelpPlatform::macOS()).title);
        }
    }

    // At no width does a path break right after its first slash.
    void pathsKeepTheirFirstFolder()
    {
        QTextDocument document;
        document.setHtml(
            HelpInlineHtml::fromMarkdown(u"kept in the saved-commands file (`/scratch-volume/b/c.json`)"_s));
        for (int width = 150; width < 500; width += 5) {
            document.setTextWidth(width);
            document.documentLayout()->documentSize();
            const QTextBlock block = document.begin();
            for (int i = 0; i < block.layout()->lineCount(); ++i) {
                const QTextLine line = block.layout()->lineAt(i);
                QVERIFY(!block.text().mid(line.textStart(), line.textLength()).trimmed().endsWith(u"(/"_s));
            }
        }
    }

    // At the window's minimum width the article gives way to the sidebar instead of being cut off.
    void narrowWindowKeepsBothColumns()
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
    void shortcutTextsAreTheBoundKeys()
    {
        MainWindow *main = m_controller->showMainWindow();
        QString filter;
        BPFBuilderView bpf(filter, [](bool) {});
        const auto native = [](const QKeySequence &keys) { return keys.toString(QKeySequence::NativeText); };
        const auto tip = [&](const char *name) {
            return main->findChild<QAbstractButton *>(QLatin1String(name))->toolTip();
        };
        const HelpPlatform::ShortcutTexts texts = HelpWindow::shortcutTexts();
        QCOMPARE((QStringList{texts.copyCommand, texts.saveForLater, texts.openMainWindow, texts.help,
                              texts.helpAlternative, texts.addToFilter, texts.quit}),
                 (QStringList{tip("copy"), tip("saveForLater"), native(m_controller->openCommand()->shortcut()),
                              native(m_controller->helpCommand()->shortcuts().value(0)),
                              native(m_controller->helpCommand()->shortcuts().value(1)),
                              native(bpf.findChild<QAbstractButton *>(u"addToFilter"_s)->shortcut()),
                              native(m_controller->quitCommand()->shortcut())}));
    }
};

QTEST_MAIN(TestHelpView)
#include "tst_helpview.moc"
