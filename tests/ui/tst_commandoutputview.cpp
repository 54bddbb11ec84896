// The command panel of the builder views: what it shows is exactly what Copy, Save to .txt and Save for
// Later hand on, with the core form as the oracle for the text.

#include "app/categoryviewfactory.h"
#include "builders/formregistry.h"
#include "common/copybutton.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"
#include "output/commandoutputview.h"
#include "output/savecommanddialog.h"

#include "faildevice.h"
#include "storedlist.h"
#include "teststores.h"
#include "uitest.h"

#include <QTimer>

class TestCommandOutputView : public QObject
{
    Q_OBJECT

    std::optional<TestStores> m_stores;
    std::unique_ptr<QWidget> m_view;
    CommandOutputView *m_panel = nullptr;

    bool open(DebugCategory category)
    {
        m_view.reset(CategoryViewFactory::create(category, m_stores->stores()));
        m_panel = m_view->findChild<CommandOutputView *>();
        return m_panel && showActive(m_view.get());
    }
    QPlainTextEdit *text() const { return child<QPlainTextEdit>(m_panel, "commandText"); }
    // The keys work wherever the focus is in the form: here, in its first control that takes it.
    void pressInForm(Qt::Key key)
    {
        const auto controls = m_view->findChildren<QWidget *>();
        const auto takesFocus = [this](QWidget *w) {
            return w->isVisible() && w->focusPolicy() == Qt::StrongFocus && !m_panel->isAncestorOf(w);
        };
        QTest::keyClick(*std::ranges::find_if(controls, takesFocus), key, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QList<SavedCommand> saved() { return m_stores->commands().commands(); }

private slots:
    void init()
    {
        m_stores.emplace();
        QVERIFY(open(DebugCategory::routing));
    }
    void cleanup()
    {
        TextFileDialog::setChooserForTesting({});
        AtomicFile::setFaultsForTesting(std::nullopt);
        m_view.reset();
        m_stores.reset();
    }

    void copyPutsThePanelTextAndReverts()
    {
        // Space at both ends, so that any trimming on the way shows.
        m_panel->setCommand(u' ' + FormRegistry::create(DebugCategory::routing)->generatedCommand() + u'\n');
        auto *copy = child<CopyButton>(m_panel, "copy");
        for (bool byShortcut : {false, true}) {
            QGuiApplication::clipboard()->clear();
            byShortcut ? pressInForm(Qt::Key_C) : QTest::mouseClick(copy, Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text(), text()->toPlainText());
        }
        // Each copy resets the label 1.5 s later; the second does not put off the first one's reset.
        const auto resets = copy->findChildren<QTimer *>(u"copyReset"_s);
        QCOMPARE(resets.size(), 2);
        for (QTimer *reset : resets)
            QVERIFY(reset->isActive() && reset->isSingleShot() && reset->interval() == 1500 &&
                    reset->timerType() == Qt::PreciseTimer);
        resets.first()->start(0);
        QTRY_VERIFY(!copy->didCopy());
    }

    void saveToFileWritesExactlyThePanelText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("answer");
        QTest::newRow("markup, spaces") << u"Routing / BGP"_s << u" <b>a</b>\n &amp; \n"_s << u"Routing_-_BGP.txt"_s
                                        << u"save"_s;
        QTest::newRow("unicode, empty") << u"Ping to \u00fc"_s << QString() << u"Ping_to_\u00fc.txt"_s << u"save"_s;
        QTest::newRow("one space") << u"x"_s << u" "_s << u"x.txt"_s << u"cancel"_s;
        QTest::newRow("full disk") << u"x"_s << u"longer"_s << u"x.txt"_s << u"full disk"_s;
    }
    void saveToFileWritesExactlyThePanelText()
    {
        QFETCH(QString, title);
        QFETCH(QString, command);
        QFETCH(QString, proposed);
        QFETCH(QString, answer);
        const int height = m_panel->sizeHint().height();
        m_panel->setTitle(title);
        m_panel->setCommand(command);
        QCOMPARE(m_panel->sizeHint().height(), height); // the form gives it no more, no less, empty or not
        // Only the empty text counts as none: one space is shown.
        QCOMPARE(child(m_panel, "emptyCommand")->isVisible(), command.isEmpty());
        QCOMPARE(text()->isVisible(), !command.isEmpty());
        QTest::keyClicks(text(), u"z"_s); // selectable, not editable
        QCOMPARE(text()->toPlainText(), command);
        const QString path = m_stores->path(u"out.txt"_s);
        QVERIFY(writeFile(path, "precious"));
        QString asked;
        TextFileDialog::setChooserForTesting([&](const QString &proposedPath) {
            asked = proposedPath;
            return answer == u"cancel" ? QString() : path;
        });
        // The folder saved to last is gone with the last test's settings: Documents, or home without it.
        const QString documents = QDir::home().filePath(u"Documents"_s);
        QVERIFY(answer == u"save" ? QDir().mkpath(documents) : QDir(documents).removeRecursively());
        if (answer == u"full disk")
            AtomicFile::setFaultsForTesting(AtomicFile::Faults{
                [](QIODevice &file) -> std::unique_ptr<QIODevice> { return std::make_unique<FailDevice>(file, 4); }});
        QTest::mouseClick(child<QPushButton>(m_panel, "saveToFile"), Qt::LeftButton);
        QCOMPARE(asked, QDir(answer == u"save" ? documents : QDir::homePath()).filePath(proposed));
        QCOMPARE(fileContents(path), answer == u"save" ? command.toUtf8() : QByteArray("precious"));
        // A failed write, and only that, is told in an alert that gives the reason.
        QPointer<QMessageBox> alert = m_view->findChild<QMessageBox *>();
        QCOMPARE(alert && alert->isVisible(), answer == u"full disk");
        if (!alert)
            return;
        QCOMPARE(alert->informativeText(), path + u": No space left on device"_s);
        alert->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!alert);
    }

    void saveForLaterStoresTheFormAsShownAtOpening_data()
    {
        QTest::addColumn<DebugCategory>("category");
        QTest::addColumn<QString>("title"); // typed over the proposed one, unless null
        QTest::addColumn<int>("key");
        for (DebugCategory category : FormRegistry::builderCategories())
            QTest::newRow(qPrintable(Enum::caseName(category))) << category << QString() << int(Qt::Key_Return);
        const auto edited = [](const char *name, const QString &title, int key) {
            QTest::newRow(name) << DebugCategory::ping << title << key;
        };
        edited("kept untrimmed", u"  core BGP  "_s, Qt::Key_Return);
        edited("spaces and tabs", u" \t "_s, Qt::Key_Return);
        edited("escape cancels", u"x"_s, Qt::Key_Escape);
    }
    void saveForLaterStoresTheFormAsShownAtOpening()
    {
        QFETCH(DebugCategory, category);
        QFETCH(QString, title);
        QFETCH(int, key);
        QVERIFY(open(category));
        const auto form = FormRegistry::create(category);
        pressInForm(Qt::Key_S);
        QPointer<SaveCommandDialog> sheet = m_view->findChild<SaveCommandDialog *>();
        QVERIFY(sheet && QTest::qWaitForWindowExposed(sheet));
        auto *field = child<QLineEdit>(sheet, "saveTitle");
        QCOMPARE(field->text(), form->title());
        if (!title.isNull()) {
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, title);
        } else {
            title = form->title();
        }
        const bool saves = key == Qt::Key_Return && !title.trimmed().isEmpty();
        QCOMPARE(child(sheet, "save")->isEnabled(), !title.trimmed().isEmpty());
        auto *notes = child<QPlainTextEdit>(sheet, "saveNotes");
        QTest::keyClicks(notes, u"one"_s);
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, u"\"two\""_s);
        // What the panel shows later does not change what the open sheet saves.
        m_panel->setTitle(u"changed"_s);
        m_panel->setCommand(u"changed"_s);
        QTest::keyClick(field, Qt::Key(key));
        QCOMPARE(sheet && sheet->isVisible(), !saves && key == Qt::Key_Return);
        QCOMPARE(saved().size(), saves ? 1 : 0);
        if (!saves)
            return;
        QCOMPARE(saved().first().title, title);
        QCOMPARE(saved().first().command, form->generatedCommand());
        QCOMPARE(saved().first().category, category);
        QCOMPARE(saved().first().notes, u"one\n\"two\""_s);
    }
};

QTEST_MAIN(TestCommandOutputView)
#include "tst_commandoutputview.moc"
