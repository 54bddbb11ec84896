#include "common/copybutton.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"
#include "output/commandoutputview.h"
#include "output/savecommanddialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestCommandOutputView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void emptyTextShowsTheLine();
    void buttonsAlwaysEnabled();
    void copyPutsExactTextAndResetsPerCopy();
    void copyShortcut();
    void saveToFileProposesNameAndWritesExactBytes_data();
    void saveToFileProposesNameAndWritesExactBytes();
    void failedWriteShowsAlertAndKeepsExistingFile();
    void cancelledSaveWritesNothing();
    void saveForLaterStoresFirstAndPersists();
    void saveDisabledForBlankTitle_data();
    void saveDisabledForBlankTitle();
    void escapeCancels();

private:
    QString storePath() const { return m_dir->filePath(QStringLiteral("settings.conf")); }
    SaveCommandDialog *openSheet()
    {
        QApplication::setActiveWindow(m_window.get());
        QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        auto *dialog = m_window->findChild<SaveCommandDialog *>();
        if (dialog && !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }
    // Answers the next modal file dialog with path (or cancels it when path is empty), recording
    // what the dialog proposed.
    void answerFileDialog(const QString &path)
    {
        QTimer::singleShot(0, this, [this, path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            m_dialogTitle = dialog->windowTitle();
            m_proposedName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            m_nameFilters = dialog->nameFilters();
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<QWidget> m_window;
    CommandOutputView *m_panel = nullptr;
    QString m_dialogTitle;
    QString m_proposedName;
    QStringList m_nameFilters;
};

void TestCommandOutputView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_storage = std::make_unique<SettingsStorage>(storePath());
    m_store = std::make_unique<CommandStore>(*m_storage);
    m_window = std::make_unique<QWidget>();
    m_panel = new CommandOutputView(DebugCategory::routing, *m_store, m_window.get());
    m_panel->setTitle(QStringLiteral("Routing / BGP"));
    m_panel->setCommand(QStringLiteral("get router info bgp summary\nget router info bgp neighbors"));
    m_window->resize(700, 500);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QApplication::setActiveWindow(m_window.get());
}

void TestCommandOutputView::cleanup()
{
    m_window.reset();
    m_store.reset();
    m_storage.reset();
}

void TestCommandOutputView::emptyTextShowsTheLine()
{
    auto *line = m_panel->findChild<QLabel *>(QStringLiteral("emptyCommand"));
    auto *text = m_panel->findChild<QPlainTextEdit *>(QStringLiteral("commandText"));
    QCOMPARE(line->text(), QStringLiteral("Fill in the form above to generate a command."));
    QVERIFY(!line->isVisible());
    QVERIFY(text->isVisible());
    QCOMPARE(m_panel->title(), QStringLiteral("Routing / BGP"));

    m_panel->setCommand(QString());
    QVERIFY(line->isVisible());
    QVERIFY(!text->isVisible());

    // The emptiness test does not trim: one space is shown in the text area.
    m_panel->setCommand(QStringLiteral(" "));
    QVERIFY(!line->isVisible());
    QVERIFY(text->isVisible());
    QCOMPARE(text->toPlainText(), QStringLiteral(" "));
    QVERIFY(text->isReadOnly());
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(text->height() >= 120 && text->height() <= 320);

    // Markup is shown as it is.
    m_panel->setCommand(QStringLiteral("<b>x</b> &amp;"));
    QCOMPARE(text->toPlainText(), QStringLiteral("<b>x</b> &amp;"));
}

void TestCommandOutputView::buttonsAlwaysEnabled()
{
    m_panel->setCommand(QString());
    QStringList labels;
    for (auto *button : m_panel->findChildren<QPushButton *>()) {
        QVERIFY(button->isEnabled());
        labels << button->text();
    }
    QCOMPARE(labels,
             (QStringList{QStringLiteral("Copy"), QStringLiteral("Save to .txt"), QStringLiteral("Save for Later")}));
}

void TestCommandOutputView::copyPutsExactTextAndResetsPerCopy()
{
    auto *copy = m_panel->findChild<CopyButton *>(QStringLiteral("copy"));
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), m_panel->command());
    QCOMPARE(copy->text(), QStringLiteral("Copied"));

    QTest::mouseClick(copy, Qt::LeftButton);
    const auto timers = copy->findChildren<QTimer *>(QStringLiteral("copyReset"));
    QCOMPARE(timers.size(), 2); // each copy schedules its own reset; none is cancelled
    for (QTimer *timer : timers) {
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 1500);
    }
    // The first reset turns the label back although the second copy came later.
    timers.first()->start(0);
    QTRY_COMPARE(copy->text(), QStringLiteral("Copy"));
    QVERIFY(timers.last()->isActive());
    timers.last()->start(0);
    QTRY_VERIFY(copy->findChildren<QTimer *>(QStringLiteral("copyReset")).isEmpty());
    QCOMPARE(copy->text(), QStringLiteral("Copy"));
}

void TestCommandOutputView::copyShortcut()
{
    QGuiApplication::clipboard()->clear();
    m_panel->setCommand(QStringLiteral(" spaced \n"));
    QTest::keyClick(m_window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" spaced \n"));
}

void TestCommandOutputView::saveToFileProposesNameAndWritesExactBytes_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("command");
    QTest::newRow("slash and spaces") << QStringLiteral("Routing / BGP") << QStringLiteral("Routing_-_BGP.txt")
                                      << QStringLiteral("get router info bgp summary");
    QTest::newRow("session") << QStringLiteral("Session Diagnostics") << QStringLiteral("Session_Diagnostics.txt")
                             << QStringLiteral("a\nb\n");
    QTest::newRow("unicode, empty") << QStringLiteral("Ping to ü") << QStringLiteral("Ping_to_ü.txt") << QString();
}

void TestCommandOutputView::saveToFileProposesNameAndWritesExactBytes()
{
    QFETCH(QString, title);
    QFETCH(QString, proposed);
    QFETCH(QString, command);
    m_panel->setTitle(title);
    m_panel->setCommand(command);
    const QString path = m_dir->filePath(QStringLiteral("out.txt"));
    answerFileDialog(path);
    QTest::mouseClick(m_panel->findChild<QPushButton *>(QStringLiteral("saveToFile")), Qt::LeftButton);
    QCOMPARE(m_dialogTitle, QStringLiteral("Save Command as Text File"));
    QCOMPARE(m_proposedName, proposed);
    QCOMPARE(m_nameFilters, QStringList{QStringLiteral("Plain text (*.txt)")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), command.toUtf8()); // no BOM, no added line feed
}

void TestCommandOutputView::failedWriteShowsAlertAndKeepsExistingFile()
{
    // A name of 255 bytes exists, but the temporary file written beside it cannot: the write fails
    // (also for root) and the existing file must keep its content.
    const QString path = m_dir->filePath(QString(251, u'x') + QStringLiteral(".txt"));
    {
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("precious");
    }
    answerFileDialog(path);
    QString alertText;
    QString informative;
    // The dialog first asks to replace the existing file (yes), then the write fails and the alert shows.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box->text().contains(QStringLiteral("already exists"))) {
            box->button(QMessageBox::Yes)->click();
            return;
        }
        alertText = box->text();
        informative = box->informativeText();
        QCOMPARE(box->icon(), QMessageBox::Warning);
        box->accept();
        poll.stop();
    });
    poll.start(20);
    m_panel->saveToFile();
    QCOMPARE(alertText, QStringLiteral("Could not save file"));
    QVERIFY(!informative.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("precious"));
}

void TestCommandOutputView::cancelledSaveWritesNothing()
{
    answerFileDialog(QString());
    m_panel->saveToFile();
    QCOMPARE(m_proposedName, QStringLiteral("Routing_-_BGP.txt"));
    QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("*.txt")}), QStringList());
}

void TestCommandOutputView::saveForLaterStoresFirstAndPersists()
{
    m_store->add(SavedCommand::create(QStringLiteral("older"), DebugCategory::ping, QStringLiteral("x"), {}));
    auto *dialog = openSheet();
    QVERIFY(dialog);
    auto *title = dialog->findChild<QLineEdit *>(QStringLiteral("saveTitle"));
    auto *notes = dialog->findChild<QPlainTextEdit *>(QStringLiteral("saveNotes"));
    QCOMPARE(title->text(), QStringLiteral("Routing / BGP")); // pre-filled with the form's title
    QCOMPARE(title->placeholderText(), QStringLiteral("Descriptive name"));
    QCOMPARE(notes->toPlainText(), QString());
    QCOMPARE(notes->placeholderText(), QStringLiteral("Optional notes"));

    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("  core BGP  "));
    QTest::keyClicks(notes, QStringLiteral("line one"));
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, QStringLiteral("\"two\""));
    QTest::keyClick(title, Qt::Key_Return); // Return saves
    QTRY_VERIFY(!m_window->findChild<SaveCommandDialog *>());

    QCOMPARE(m_store->commands().size(), 2);
    const SavedCommand saved = m_store->commands().first();
    QCOMPARE(saved.title, QStringLiteral("  core BGP  ")); // untrimmed
    QCOMPARE(saved.notes, QStringLiteral("line one\n\"two\""));
    QCOMPARE(saved.command, m_panel->command());
    QCOMPARE(saved.category, DebugCategory::routing);
    QVERIFY(qAbs(saved.createdAtDateTime().secsTo(QDateTime::currentDateTimeUtc())) < 60);

    // A restart reads it back first.
    QVERIFY(m_store->flush());
    SettingsStorage reopened(storePath());
    CommandStore again(reopened);
    QCOMPARE(again.commands().size(), 2);
    QVERIFY(again.commands().first() == saved);

    // The sheet starts afresh each time.
    dialog = openSheet();
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("saveTitle"))->text(), QStringLiteral("Routing / BGP"));
    QCOMPARE(dialog->findChild<QPlainTextEdit *>(QStringLiteral("saveNotes"))->toPlainText(), QString());
    dialog->reject();
}

void TestCommandOutputView::saveDisabledForBlankTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("cleared") << QString() << false;
    QTest::newRow("spaces") << QStringLiteral("   ") << false;
    QTest::newRow("tabs") << QStringLiteral("\t \t") << false;
    QTest::newRow("word") << QStringLiteral("  x  ") << true;
}

void TestCommandOutputView::saveDisabledForBlankTitle()
{
    QFETCH(QString, title);
    QFETCH(bool, enabled);
    auto *dialog = openSheet();
    QVERIFY(dialog);
    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("saveTitle"));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, title);
    auto *save = dialog->findChild<QPushButton *>(QStringLiteral("save"));
    QCOMPARE(save->isEnabled(), enabled);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(m_store->commands().size(), enabled ? 1 : 0);
    if (!enabled)
        dialog->reject();
}

void TestCommandOutputView::escapeCancels()
{
    auto *dialog = openSheet();
    QVERIFY(dialog);
    QTest::keyClick(dialog->findChild<QLineEdit *>(QStringLiteral("saveTitle")), Qt::Key_Escape);
    QTRY_VERIFY(!m_window->findChild<SaveCommandDialog *>());
    QVERIFY(m_store->commands().isEmpty());
}

QTEST_MAIN(TestCommandOutputView)
#include "tst_commandoutputview.moc"
