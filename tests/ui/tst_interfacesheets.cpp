// The Sniffer form's saved interface names as the user works them: the presets menu offers them, the
// save sheet adds through the store, the manage sheet deletes, and choosing a name fills the field.
// The core is the oracle: a second store given the same names, and the Sniffer form.

#include "builders/formregistry.h"
#include "builders/interfacepresetsmenu.h"
#include "builders/manageinterfacesdialog.h"
#include "builders/saveinterfacedialog.h"
#include "builders/snifferview.h"
#include "model/atomicfile.h"
#include "output/commandoutputview.h"
#include "text.h"

#include "faildevice.h"
#include "storedlist.h"
#include "teststores.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

namespace {
// Puts names on disk as another run left them, then has the store read them.
void storeNames(TestStores &stores, const QStringList &names)
{
    QVERIFY(putStoredList(stores.storage(), SettingsStorage::customInterfaces,
                          QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact)));
    stores.interfaces().load();
}

// Typed text as an input method commits it: the only way QTest has to type a tab or a combining accent
// into a line edit.
void type(QWidget *widget, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

// The names the menu offers, each with the entry that chooses it.
QList<QAction *> nameEntries(const QMenu *menu)
{
    QList<QAction *> entries;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->data().isValid())
            entries << action;
    }
    return entries;
}
} // namespace

class TestInterfaceSheets : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_stores = std::make_unique<TestStores>(); }
    void cleanup();
    void menuOffersEveryName_data();
    void menuOffersEveryName();
    void choosingANameSetsTheInterface();
    void saveSheetAddsThroughTheStore_data();
    void saveSheetAddsThroughTheStore();
    void saveCurrentTakesTheField();
    void manageSheetDeletesAndAdds();
    void failedWriteIsReported();

private:
    SnifferView *open(const QStringList &stored);
    QLineEdit *interfaceField() const { return m_view->findChild<QLineEdit *>(QStringLiteral("interface")); }
    QAction *entry(const char *name) const
    {
        return m_view->presetsMenu()->findChild<QAction *>(QString::fromLatin1(name));
    }
    const QStringList &saved() const { return m_stores->interfaces().interfaces(); }
    QStringList onDisk() const
    {
        return InterfaceStore::decode(storedList(m_stores->storage(), SettingsStorage::customInterfaces))
            .value_or(QStringList{QStringLiteral("(unreadable)")});
    }
    // Types name into the open save sheet (over owner, else over the form) and presses Return there.
    void addThroughSheet(const QString &name, QWidget *owner = nullptr);

    std::unique_ptr<TestStores> m_stores;
    std::unique_ptr<SnifferView> m_view;
};

void TestInterfaceSheets::cleanup()
{
    AtomicFile::setFaultsForTesting(std::nullopt);
    m_view.reset();
    m_stores.reset();
}

SnifferView *TestInterfaceSheets::open(const QStringList &stored)
{
    storeNames(*m_stores, stored);
    m_view = std::make_unique<SnifferView>(m_stores->commands(), m_stores->interfaces());
    m_view->resize(1000, 1000);
    m_view->show();
    m_view->activateWindow();
    return QTest::qWaitForWindowActive(m_view.get()) ? m_view.get() : nullptr;
}

void TestInterfaceSheets::addThroughSheet(const QString &name, QWidget *owner)
{
    auto *sheet = (owner ? owner : m_view.get())->findChild<SaveInterfaceDialog *>();
    QVERIFY(sheet);
    auto *field = sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName"));
    type(field, name);
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY(!m_view->findChild<SaveInterfaceDialog *>());
}

void TestInterfaceSheets::menuOffersEveryName_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("none saved") << QStringList();
    // As stored, duplicates and order included; an ampersand is part of the name, not a mnemonic.
    QTest::newRow("saved") << QStringList{QStringLiteral("wan3"), QStringLiteral("R&D lab"), QStringLiteral("wan3")};
}

void TestInterfaceSheets::menuOffersEveryName()
{
    QFETCH(QStringList, stored);
    QVERIFY(open(stored));
    // Each name reads as itself; "Manage" only while there is something to manage.
    const auto offers = [this](const QStringList &names) {
        QStringList offered;
        for (const QAction *action : nameEntries(m_view->presetsMenu())) {
            QCOMPARE(action->iconText(), action->data().toString());
            offered << action->data().toString();
        }
        QCOMPARE(offered, InterfacePresetsMenu::commonNames() + names);
        QCOMPARE(bool(entry("manageCustom")), !names.isEmpty());
    };
    offers(stored);
    // The menu follows the store, whoever changes it.
    QVERIFY(m_stores->interfaces().add(QStringLiteral("dmz")));
    offers(saved());
    for (const QString &name : stored + QStringList{QStringLiteral("dmz")})
        m_stores->interfaces().remove(name);
    offers({});
}

void TestInterfaceSheets::choosingANameSetsTheInterface()
{
    QVERIFY(open({QStringLiteral("R&D lab"), QStringLiteral("port1.20")}));
    const auto entries = nameEntries(m_view->presetsMenu());
    QCOMPARE(entries.size(), InterfacePresetsMenu::commonNames().size() + 2);
    for (QAction *action : entries) {
        action->trigger();
        const QString name = action->data().toString();
        auto expected = FormRegistry::create(DebugCategory::sniffer);
        QVERIFY(expected->setField(QStringLiteral("interface"), name));
        QCOMPARE(interfaceField()->text(), name);
        QCOMPARE(m_view->output()->findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->toPlainText(),
                 expected->generatedCommand());
        QCOMPARE(m_view->output()->title(), expected->title());
    }
}

void TestInterfaceSheets::saveSheetAddsThroughTheStore_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key"); // 0: the Save button
    QTest::newRow("new name, Save") << QStringLiteral("vlan100 ") << 0;
    QTest::newRow("new name, Return") << QStringLiteral("guest-wifi") << int(Qt::Key_Return);
    QTest::newRow("sorts first") << QStringLiteral("Lab") << 0;
    QTest::newRow("blank, Return") << QStringLiteral(" \t\u00a0") << int(Qt::Key_Return);
    QTest::newRow("saved, padded") << QStringLiteral(" port9") << 0;
    QTest::newRow("saved, other normalisation") << QStringLiteral("cafe\u0301") << 0;
    QTest::newRow("case differs") << QStringLiteral("PORT9") << 0;
    QTest::newRow("Escape") << QStringLiteral("wan3") << int(Qt::Key_Escape);
}

void TestInterfaceSheets::saveSheetAddsThroughTheStore()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    const QStringList stored{QStringLiteral("port9"), QStringLiteral("caf\u00e9")};
    QVERIFY(open(stored));
    TestStores oracle;
    storeNames(oracle, stored);
    const QString before = interfaceField()->text();

    entry("addCustom")->trigger();
    auto *sheet = m_view->findChild<SaveInterfaceDialog *>();
    QVERIFY(sheet);
    QVERIFY(sheet->isVisible());
    auto *name = sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName"));
    QCOMPARE(name->text(), QString());
    type(name, typed);
    auto *save = sheet->findChild<QPushButton *>(QStringLiteral("save"));
    QCOMPARE(save->isEnabled(), Text::isNonBlank(typed));
    if (key)
        QTest::keyClick(name, Qt::Key(key));
    else
        QTest::mouseClick(save, Qt::LeftButton);
    QTRY_VERIFY(!m_view->findChild<SaveInterfaceDialog *>());

    const bool added = key != Qt::Key_Escape && oracle.interfaces().add(typed);
    QCOMPARE(saved(), oracle.interfaces().interfaces());
    QCOMPARE(onDisk(), saved());
    QCOMPARE(interfaceField()->text(), added ? Text::trimmed(typed) : before);
}

void TestInterfaceSheets::saveCurrentTakesTheField()
{
    QVERIFY(open({}));
    for (const QString &typed : {QString(), QStringLiteral(" \t"), QStringLiteral(" port1.20 ")}) {
        interfaceField()->clear();
        type(interfaceField(), typed);
        QCOMPARE(entry("saveCurrent")->isEnabled(), Text::isNonBlank(typed));
    }
    entry("saveCurrent")->trigger();
    auto *sheet = m_view->findChild<SaveInterfaceDialog *>();
    QVERIFY(sheet);
    QCOMPARE(sheet->name(), QStringLiteral(" port1.20 "));
    sheet->accept();
    QCOMPARE(saved(), QStringList{QStringLiteral("port1.20")});
}

void TestInterfaceSheets::manageSheetDeletesAndAdds()
{
    QVERIFY(open({QStringLiteral("vlan100"), QStringLiteral("dmz"), QStringLiteral("vlan100")}));
    entry("manageCustom")->trigger();
    auto *sheet = m_view->findChild<ManageInterfacesDialog *>();
    QVERIFY(sheet);
    auto *list = sheet->findChild<QListWidget *>(QStringLiteral("interfaceList"));
    const auto row = [list](int i) { return list->itemWidget(list->item(i)); };
    const auto rows = [&] {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << row(i)->findChild<QLabel *>(QStringLiteral("interfaceName"))->text();
        return names;
    };
    QCOMPARE(rows(), saved());

    // Deleting a name removes every copy of it, on disk at once.
    QTest::mouseClick(row(0)->findChild<QToolButton *>(QStringLiteral("remove")), Qt::LeftButton);
    QCOMPARE(saved(), QStringList{QStringLiteral("dmz")});
    QCOMPARE(rows(), saved());
    QCOMPARE(onDisk(), saved());

    // "Add" opens the save sheet over this one; the list follows.
    QTest::mouseClick(sheet->findChild<QPushButton *>(QStringLiteral("add")), Qt::LeftButton);
    addThroughSheet(QStringLiteral("guest-wifi"), sheet);
    QCOMPARE(saved(), (QStringList{QStringLiteral("dmz"), QStringLiteral("guest-wifi")}));
    QCOMPARE(rows(), saved());
    QCOMPARE(interfaceField()->text(), QStringLiteral("guest-wifi"));

    for (const QString &name : QStringList(saved()))
        m_stores->interfaces().remove(name);
    QVERIFY(sheet->findChild<QLabel *>(QStringLiteral("noInterfaces"))->isVisible());
    QVERIFY(!list->isVisible());
    // Return is "Done", even from "Add", the button clicked last.
    QTest::keyClick(sheet->findChild<QPushButton *>(QStringLiteral("add")), Qt::Key_Return);
    QTRY_VERIFY(!m_view->findChild<ManageInterfacesDialog *>());
}

void TestInterfaceSheets::failedWriteIsReported()
{
    QVERIFY(open({}));
    // No room for a byte: the names cannot be written.
    AtomicFile::setFaultsForTesting(
        AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<FailDevice>(file, 0); }, false});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^InterfaceStore save error: ")));
    entry("addCustom")->trigger();
    addThroughSheet(QStringLiteral("vlan100"));
    AtomicFile::setFaultsForTesting(std::nullopt);
    // Kept for this run, not on disk.
    QCOMPARE(saved(), QStringList{QStringLiteral("vlan100")});
    QCOMPARE(onDisk(), QStringList());
    QCOMPARE(interfaceField()->text(), QStringLiteral("vlan100"));

    QApplication::processEvents();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QEXPECT_FAIL("", "nothing in the application reports a store's failed write to the user yet", Continue);
    QVERIFY(std::any_of(windows.cbegin(), windows.cend(),
                        [](QWidget *w) { return qobject_cast<QMessageBox *>(w) && w->isVisible(); }));
}

QTEST_MAIN(TestInterfaceSheets)
#include "tst_interfacesheets.moc"
