// The command panel of the builder views: what it shows is exactly what Copy, Save to .txt and Save for
// Later hand on, with the core form as the oracle for the text.

#include "app/categoryviewfactory.h"
#include "builders/formregistry.h"
#include "common/copybutton.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "output/commandoutputview.h"
#include "output/savecommanddialog.h"

#include "faildevice.h"
#include "storedlist.h"
#include "teststores.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
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
        m_view->resize(900, 800);
        m_view->show();
        m_view->activateWindow();
        return m_panel && QTest::qWaitForWindowActive(m_view.get());
    }
    QPlainTextEdit *text() const { return m_panel->findChild<QPlainTextEdit *>(QStringLiteral("commandText")); }
    // The keys work wherever the focus is in the form: here, in its first control that takes it.
    void pressInForm(Qt::Key key)
    {
        const auto controls = m_view->findChildren<QWidget *>();
        QTest::keyClick(*std::find_if(controls.begin(), controls.end(),
                                      [this](QWidget *w) {
                                          return w->isVisible() && w->focusPolicy() == Qt::StrongFocus &&
                                                 !m_panel->isAncestorOf(w);
                                      }),
                        key, Qt::ControlModifier | Qt::ShiftModifier);
    }
    SaveCommandDialog *openSheet()
    {
        pressInForm(Qt::Key_S);
        auto *sheet = m_view->findChild<SaveCommandDialog *>();
        return sheet && QTest::qWaitForWindowExposed(sheet) ? sheet : nullptr;
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

    void copyPutsThePanelTextAndReverts_data()
    {
        QTest::addColumn<bool>("byShortcut");
        QTest::newRow("button") << false;
        QTest::newRow("shortcut") << true;
    }
    void copyPutsThePanelTextAndReverts()
    {
        QFETCH(bool, byShortcut);
        // Space at both ends, so that any trimming on the way shows.
        m_panel->setCommand(u' ' + FormRegistry::create(DebugCategory::routing)->generatedCommand() + u'\n');
        QGuiApplication::clipboard()->clear();
        auto *copy = m_panel->findChild<CopyButton *>(QStringLiteral("copy"));
        for (int press = 0; press < 2; ++press)
            byShortcut ? pressInForm(Qt::Key_C) : QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), text()->toPlainText());
        QVERIFY(copy->didCopy());
        // Each copy resets the label 1.5 s later; the second does not put off the first one's reset.
        const auto resets = copy->findChildren<QTimer *>(QStringLiteral("copyReset"));
        QCOMPARE(resets.size(), 2);
        for (QTimer *reset : resets)
            QVERIFY(reset->isActive() && reset->isSingleShot() && reset->interval() == 1500);
        resets.first()->start(0);
        QTRY_VERIFY(!copy->didCopy());
    }

    void saveToFileWritesExactlyThePanelText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("answer");
        QTest::newRow("markup, spaces") << QStringLiteral("Routing / BGP") << QStringLiteral(" <b>a</b>\n &amp; \n")
                                        << QStringLiteral("Routing_-_BGP.txt") << QStringLiteral("save");
        QTest::newRow("unicode, empty") << QStringLiteral("Ping to \u00fc") << QString()
                                        << QStringLiteral("Ping_to_\u00fc.txt") << QStringLiteral("save");
        QTest::newRow("one space") << QStringLiteral("x") << QStringLiteral(" ") << QStringLiteral("x.txt")
                                   << QStringLiteral("cancel");
        QTest::newRow("full disk") << QStringLiteral("x") << QStringLiteral("longer") << QStringLiteral("x.txt")
                                   << QStringLiteral("full disk");
    }
    void saveToFileWritesExactlyThePanelText()
    {
        QFETCH(QString, title);
        QFETCH(QString, command);
        QFETCH(QString, proposed);
        QFETCH(QString, answer);
        m_panel->setTitle(title);
        m_panel->setCommand(command);
        // Only the empty text counts as none: one space is shown.
        QCOMPARE(m_panel->findChild<QLabel *>(QStringLiteral("emptyCommand"))->isVisible(), command.isEmpty());
        QCOMPARE(text()->isVisible(), !command.isEmpty());
        QTest::keyClicks(text(), QStringLiteral("z")); // selectable, not editable
        QCOMPARE(text()->toPlainText(), command);

        const QString path = m_stores->path(QStringLiteral("out.txt"));
        QVERIFY(writeFile(path, "precious"));
        QString asked;
        TextFileDialog::setChooserForTesting([&](const QString &name) {
            asked = name;
            return answer == u"cancel" ? QString() : path;
        });
        if (answer == u"full disk")
            AtomicFile::setFaultsForTesting(AtomicFile::Faults{
                [](QIODevice &file) -> std::unique_ptr<QIODevice> { return std::make_unique<FailDevice>(file, 4); }});
        QTest::mouseClick(m_panel->findChild<QPushButton *>(QStringLiteral("saveToFile")), Qt::LeftButton);
        QCOMPARE(asked, proposed);
        QCOMPARE(fileContents(path), answer == u"save" ? command.toUtf8() : QByteArray("precious"));
        // A failed write, and only that, is told in an alert that gives the reason.
        QPointer<QMessageBox> alert = m_view->findChild<QMessageBox *>();
        QCOMPARE(alert && alert->isVisible(), answer == u"full disk");
        if (!alert)
            return;
        QCOMPARE(alert->text(), QStringLiteral("Could not save file"));
        QCOMPARE(alert->informativeText(), QStringLiteral("No space left on device"));
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
        edited("kept untrimmed", QStringLiteral("  core BGP  "), Qt::Key_Return);
        edited("cleared", QStringLiteral(""), Qt::Key_Return);
        edited("spaces and tabs", QStringLiteral(" \t "), Qt::Key_Return);
        edited("escape cancels", QStringLiteral("x"), Qt::Key_Escape);
    }
    void saveForLaterStoresTheFormAsShownAtOpening()
    {
        QFETCH(DebugCategory, category);
        QFETCH(QString, title);
        QFETCH(int, key);
        QVERIFY(open(category));
        const auto form = FormRegistry::create(category);
        m_stores->commands().add(SavedCommand::create(QStringLiteral("older"), DebugCategory::saved, {}, {}));
        QPointer<SaveCommandDialog> sheet = openSheet();
        QVERIFY(sheet);
        auto *field = sheet->findChild<QLineEdit *>(QStringLiteral("saveTitle"));
        QCOMPARE(field->text(), form->title());
        if (!title.isNull()) {
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, title);
        } else {
            title = form->title();
        }
        const bool saves = key == Qt::Key_Return && !title.trimmed().isEmpty();
        QCOMPARE(sheet->findChild<QPushButton *>(QStringLiteral("save"))->isEnabled(), !title.trimmed().isEmpty());
        auto *notes = sheet->findChild<QPlainTextEdit *>(QStringLiteral("saveNotes"));
        QTest::keyClicks(notes, QStringLiteral("one"));
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, QStringLiteral("\"two\""));
        // What the panel shows later does not change what the open sheet saves.
        m_panel->setTitle(QStringLiteral("changed"));
        m_panel->setCommand(QStringLiteral("changed"));
        QTest::keyClick(field, Qt::Key(key));
        QCOMPARE(sheet && sheet->isVisible(), !saves && key == Qt::Key_Return);
        QCOMPARE(saved().size(), saves ? 2 : 1);
        if (!saves)
            return;
        QCOMPARE(saved().first().title, title);
        QCOMPARE(saved().first().command, form->generatedCommand());
        QCOMPARE(saved().first().category, category);
        QCOMPARE(saved().first().notes, QStringLiteral("one\n\"two\""));
    }
};

QTEST_MAIN(TestCommandOutputView)
#include "tst_commandoutputview.moc"
