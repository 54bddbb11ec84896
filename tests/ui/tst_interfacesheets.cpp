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
#include "uitest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QListWidget>
#include <QRegularExpression>
#include <QToolButton>

class TestInterfaceSheets : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestStores> m_stores;
    std::unique_ptr<SnifferView> m_view;

    // Puts names on disk as another run left them, then has the store read them.
    static void storeNames(TestStores &stores, const QStringList &names)
    {
        QVERIFY(putStoredList(stores.storage(), SettingsStorage::customInterfaces,
                              QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact)));
        stores.interfaces().load();
    }
    bool open(const QStringList &stored)
    {
        storeNames(*m_stores, stored);
        m_view = std::make_unique<SnifferView>(m_stores->commands(), m_stores->interfaces());
        return showActive(m_view.get(), {1000, 1000});
    }
    QLineEdit *interfaceField() const { return child<QLineEdit>(m_view.get(), "interface"); }
    QAction *entry(const char *name) const { return child<QAction>(m_view->presetsMenu(), name); }
    const QStringList &saved() const { return m_stores->interfaces().interfaces(); }
    // The names the menu offers, each with the entry that chooses it.
    QList<QAction *> nameEntries() const
    {
        QList<QAction *> entries = m_view->presetsMenu()->actions();
        entries.removeIf([](QAction *a) { return a->isSeparator() || !a->data().isValid(); });
        return entries;
    }
    // Types name into the open save sheet (over owner, else over the form) and presses key there.
    void addThroughSheet(const QString &name, QWidget *owner = nullptr, Qt::Key key = Qt::Key_Return)
    {
        auto *sheet = (owner ? owner : m_view.get())->findChild<SaveInterfaceDialog *>();
        QVERIFY(sheet && sheet->isVisible());
        auto *field = child<QLineEdit>(sheet, "interfaceName");
        QCOMPARE(field->text(), QString());
        commitText(field, name);
        auto *save = child<QPushButton>(sheet, "save");
        QCOMPARE(save->isEnabled(), Text::isNonBlank(name));
        key ? QTest::keyClick(field, key) : QTest::mouseClick(save, Qt::LeftButton);
        QTRY_VERIFY(!m_view->findChild<SaveInterfaceDialog *>());
    }

private slots:
    void init() { m_stores = std::make_unique<TestStores>(); }
    void cleanup()
    {
        AtomicFile::setFaultsForTesting(std::nullopt);
        m_view.reset();
        m_stores.reset();
    }

    void menuOffersEveryName()
    {
        // As stored, duplicates and order included; an ampersand is part of the name, not a mnemonic.
        const QStringList stored{u"wan3"_s, u"R&D lab"_s, u"port1.20"_s, u"wan3"_s};
        QVERIFY(open(stored));
        // Each name reads as itself; "Manage" only while there is something to manage.
        const auto offers = [this](const QStringList &names) {
            QStringList offered;
            for (const QAction *action : nameEntries()) {
                QCOMPARE(action->iconText(), action->data().toString());
                offered << action->data().toString();
            }
            QCOMPARE(offered, InterfacePresetsMenu::commonNames() + names);
            QCOMPARE(bool(entry("manageCustom")), !names.isEmpty());
        };
        offers(stored);
        // Choosing a name gives the command the Sniffer form makes with it.
        for (QAction *action : nameEntries()) {
            action->trigger();
            auto expected = FormRegistry::create(DebugCategory::sniffer);
            QVERIFY(expected->setField(u"interface"_s, action->data().toString()));
            QCOMPARE(interfaceField()->text(), action->data().toString());
            QCOMPARE(child<QPlainTextEdit>(m_view->output(), "commandText")->toPlainText(),
                     expected->generatedCommand());
        }
        // The menu follows the store, whoever changes it.
        QVERIFY(m_stores->interfaces().add(u"dmz"_s));
        offers(saved());
        for (const QString &name : QStringList(saved()))
            m_stores->interfaces().remove(name);
        offers({});
    }

    void saveSheetAddsThroughTheStore_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // 0: the Save button
        QTest::newRow("new name, Save") << u"vlan100 "_s << 0;
        QTest::newRow("new name in capitals, Return") << u"Guest-WiFi"_s << int(Qt::Key_Return);
        QTest::newRow("blank, Return") << u" \t\u00a0"_s << int(Qt::Key_Return);
        QTest::newRow("saved, padded") << u" port9"_s << 0;
        QTest::newRow("Escape") << u"wan3"_s << int(Qt::Key_Escape);
    }
    void saveSheetAddsThroughTheStore()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        const QStringList stored{u"port9"_s};
        QVERIFY(open(stored));
        TestStores oracle;
        storeNames(oracle, stored);
        const QString before = interfaceField()->text();
        entry("addCustom")->trigger();
        addThroughSheet(typed, nullptr, Qt::Key(key));
        const bool added = key != Qt::Key_Escape && oracle.interfaces().add(typed);
        QCOMPARE(saved(), oracle.interfaces().interfaces());
        QCOMPARE(interfaceField()->text(), added ? Text::trimmed(typed) : before);
    }

    void saveCurrentTakesTheFieldAndAFailedWriteIsKept()
    {
        QVERIFY(open({}));
        for (const QString &typed : {QString(), u" \t"_s, u" port1.20 "_s}) {
            interfaceField()->clear();
            commitText(interfaceField(), typed);
            QCOMPARE(entry("saveCurrent")->isEnabled(), Text::isNonBlank(typed));
        }
        entry("saveCurrent")->trigger();
        auto *sheet = m_view->findChild<SaveInterfaceDialog *>();
        QCOMPARE(sheet ? sheet->name() : u"(no sheet)"_s, u" port1.20 "_s);
        sheet->accept();
        QTRY_VERIFY(!m_view->findChild<SaveInterfaceDialog *>());
        QCOMPARE(saved(), QStringList{u"port1.20"_s});
        // No room for a byte: the names cannot be written (the store keeps them for this run), yet the name
        // is taken.
        AtomicFile::setFaultsForTesting(
            AtomicFile::Faults{[](QIODevice &file) { return std::make_unique<FailDevice>(file, 0); }, false});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^InterfaceStore save error: "_s));
        entry("addCustom")->trigger();
        addThroughSheet(u"vlan100"_s);
        QCOMPARE(interfaceField()->text(), u"vlan100"_s);
    }

    void manageSheetDeletesAndAdds()
    {
        QVERIFY(open({u"vlan100"_s, u"dmz"_s, u"vlan100"_s}));
        entry("manageCustom")->trigger();
        auto *sheet = m_view->findChild<ManageInterfacesDialog *>();
        QVERIFY(sheet);
        auto *list = child<QListWidget>(sheet, "interfaceList");
        const auto row = [list](int i) { return list->itemWidget(list->item(i)); };
        const auto rowsAreSaved = [&] {
            QStringList names;
            for (int i = 0; i < list->count(); ++i)
                names << child<QLabel>(row(i), "interfaceName")->text();
            QCOMPARE(names, saved());
        };
        rowsAreSaved();
        // Deleting a name removes every copy of it, on disk at once.
        QTest::mouseClick(child<QToolButton>(row(0), "remove"), Qt::LeftButton);
        QCOMPARE(saved(), QStringList{u"dmz"_s});
        rowsAreSaved();
        // "Add" opens the save sheet over this one; the list follows.
        QTest::mouseClick(child<QPushButton>(sheet, "add"), Qt::LeftButton);
        addThroughSheet(u"guest-wifi"_s, sheet);
        QCOMPARE(saved(), (QStringList{u"dmz"_s, u"guest-wifi"_s}));
        rowsAreSaved();
        for (const QString &name : QStringList(saved()))
            m_stores->interfaces().remove(name);
        QVERIFY(child(sheet, "noInterfaces")->isVisible() && !list->isVisible());
        // Return is "Done", even from "Add", the button clicked last.
        QTest::keyClick(child(sheet, "add"), Qt::Key_Return);
        QTRY_VERIFY(!m_view->findChild<ManageInterfacesDialog *>());
    }
};

QTEST_MAIN(TestInterfaceSheets)
#include "tst_interfacesheets.moc"
