#include "snifferfixture.h"

#include "builders/interfacepresetsmenu.h"
#include "builders/manageinterfacesdialog.h"
#include "builders/saveinterfacedialog.h"
#include "model/interfacestore.h"
#include "output/commandoutputview.h"
#include "storedlist.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

class TestInterfaceSheets : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuWithoutSavedNames();
    void menuWithSavedNames();
    void choosingSetsTheInterface();
    void saveCurrentFollowsTheField_data();
    void saveCurrentFollowsTheField();
    void saveSheet();
    void saveSheetRefusesBlankAndDuplicates();
    void saveSheetKeys();
    void savedNamesSortedAndPersisted();
    void manageSheet();
    void manageSheetAddsThroughTheSaveSheet();

private:
    // Saved names written to the settings before the form reads them.
    void recreateWith(const QStringList &stored)
    {
        f.destroy();
        f.createStorage();
        const QByteArray json = QJsonDocument(QJsonArray::fromStringList(stored)).toJson(QJsonDocument::Compact);
        QVERIFY(putStoredList(f.storage(), SettingsStorage::customInterfaces, json));
        QVERIFY(f.createView());
    }
    InterfacePresetsMenu *menu() const { return f.view()->presetsMenu(); }
    // The menu as the user reads it: "[Section]" for a heading, "--" for a divider, "!" before a
    // disabled item.
    QStringList menuEntries() const
    {
        QStringList entries;
        for (QAction *action : menu()->actions()) {
            if (action->isSeparator())
                entries << (action->text().isEmpty() ? QStringLiteral("--") : u'[' + action->text() + u']');
            else
                entries << (action->isEnabled() ? QString() : QStringLiteral("!")) + action->text();
        }
        return entries;
    }
    QAction *menuItem(const QString &text) const
    {
        for (QAction *action : menu()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    QLineEdit *interface() const { return f.field<QLineEdit>("interface"); }
    QStringList saved() const { return f.view()->interfaceStore().interfaces(); }
    template <typename Sheet> Sheet *openSheet() const
    {
        auto *sheet = f.view()->findChild<Sheet *>();
        if (sheet && !QTest::qWaitForWindowExposed(sheet))
            return nullptr;
        return sheet;
    }
    SaveInterfaceDialog *openSaveSheet(const QString &item) const
    {
        menuItem(item)->trigger();
        return openSheet<SaveInterfaceDialog>();
    }
    // Types name into the open save sheet and presses its Save button.
    void saveThroughSheet(const QString &name)
    {
        SaveInterfaceDialog *sheet = openSaveSheet(QStringLiteral("Add Custom Interface\u2026"));
        QVERIFY(sheet);
        SnifferFixture::type(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), name);
        QTest::mouseClick(sheet->findChild<QPushButton *>(QStringLiteral("save")), Qt::LeftButton);
        QTRY_VERIFY(!f.view()->findChild<SaveInterfaceDialog *>());
    }

    SnifferFixture f;
};

void TestInterfaceSheets::init()
{
    f.createStorage();
    QVERIFY(f.createView());
}

void TestInterfaceSheets::cleanup()
{
    f.destroy();
}

void TestInterfaceSheets::menuWithoutSavedNames()
{
    QCOMPARE(menuEntries(), (QStringList{QStringLiteral("[Common]"), QStringLiteral("any"), QStringLiteral("port1"),
                                         QStringLiteral("port2"), QStringLiteral("wan1"), QStringLiteral("wan2"),
                                         QStringLiteral("internal"), QStringLiteral("--"),
                                         QStringLiteral("Save Current as Custom\u2026"),
                                         QStringLiteral("Add Custom Interface\u2026")}));
    QCOMPARE(f.field<QPushButton>("interfacePresets")->menu(), menu());
}

void TestInterfaceSheets::menuWithSavedNames()
{
    // Shown as stored, duplicates and order included, until the next addition sorts the list.
    recreateWith({QStringLiteral("wan3"), QStringLiteral("Lab"), QStringLiteral("wan3")});
    const QStringList entries = menuEntries();
    QCOMPARE(
        entries.mid(7),
        (QStringList{QStringLiteral("[My Interfaces]"), QStringLiteral("wan3"), QStringLiteral("Lab"),
                     QStringLiteral("wan3"), QStringLiteral("--"), QStringLiteral("Save Current as Custom\u2026"),
                     QStringLiteral("Add Custom Interface\u2026"), QStringLiteral("Manage Custom Interfaces\u2026")}));
    saveThroughSheet(QStringLiteral("dmz"));
    QCOMPARE(saved(), (QStringList{QStringLiteral("Lab"), QStringLiteral("dmz"), QStringLiteral("wan3"),
                                   QStringLiteral("wan3")}));
    QCOMPARE(menuEntries().mid(8, 4), saved());
}

void TestInterfaceSheets::choosingSetsTheInterface()
{
    recreateWith({QStringLiteral("R&D lab")});
    menuItem(QStringLiteral("port2"))->trigger();
    QCOMPARE(interface()->text(), QStringLiteral("port2"));
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet port2 'none' 4 0 l"));
    // An ampersand is part of the name, not a keyboard mnemonic.
    QAction *lab = menuItem(QStringLiteral("R&&D lab"));
    QVERIFY(lab);
    lab->trigger();
    QCOMPARE(interface()->text(), QStringLiteral("R&D lab"));
    QCOMPARE(f.view()->output()->title(), QStringLiteral("Sniffer on R&D lab"));
}

void TestInterfaceSheets::saveCurrentFollowsTheField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("spaces and tabs") << QStringLiteral(" \t\u00a0") << false;
    QTest::newRow("name") << QStringLiteral("port1.20") << true;
    QTest::newRow("padded name") << QStringLiteral(" port1.20 ") << true;
}

void TestInterfaceSheets::saveCurrentFollowsTheField()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    interface()->clear();
    SnifferFixture::type(interface(), typed);
    QAction *saveCurrent = menuItem(QStringLiteral("Save Current as Custom\u2026"));
    QCOMPARE(saveCurrent->isEnabled(), enabled);
    if (!enabled)
        return;
    saveCurrent->trigger();
    auto *sheet = openSheet<SaveInterfaceDialog>();
    QVERIFY(sheet);
    // Taken over exactly as typed.
    QCOMPARE(sheet->name(), typed);
    sheet->reject();
}

void TestInterfaceSheets::saveSheet()
{
    SaveInterfaceDialog *sheet = openSaveSheet(QStringLiteral("Add Custom Interface\u2026"));
    QVERIFY(sheet);
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    QCOMPARE(sheet->width(), 380);
    QCOMPARE(sheet->findChild<QLabel *>(QStringLiteral("heading"))->text(), QStringLiteral("Save Custom Interface"));
    auto *note = sheet->findChild<QLabel *>(QStringLiteral("note"));
    QCOMPARE(
        note->accessibleName(),
        QStringLiteral("Enter the exact name as it appears on the FortiGate (e.g. vlan100, guest-wifi, port1.20)."));
    QVERIFY(note->text().contains(QStringLiteral(">guest-wifi</code>")));
    auto *name = sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName"));
    QCOMPARE(name->placeholderText(), QStringLiteral("Interface name"));
    QCOMPARE(name->text(), QString());
    auto *save = sheet->findChild<QPushButton *>(QStringLiteral("save"));
    QVERIFY(save->isDefault());
    QVERIFY(!save->isEnabled());
    SnifferFixture::type(name, QStringLiteral(" \t"));
    QVERIFY(!save->isEnabled());
    SnifferFixture::type(name, QStringLiteral("vlan100 "));
    QVERIFY(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);

    QTRY_VERIFY(!f.view()->findChild<SaveInterfaceDialog *>());
    QCOMPARE(saved(), QStringList{QStringLiteral("vlan100")});
    QCOMPARE(interface()->text(), QStringLiteral("vlan100"));
    QCOMPARE(f.panelText(), QStringLiteral("diagnose sniffer packet vlan100 'none' 4 0 l"));
    QVERIFY(menuItem(QStringLiteral("vlan100")));
    QVERIFY(menuItem(QStringLiteral("Manage Custom Interfaces\u2026")));
}

void TestInterfaceSheets::saveSheetRefusesBlankAndDuplicates()
{
    saveThroughSheet(QStringLiteral("vlan100"));
    SnifferFixture::type(interface(), QStringLiteral("x"));
    QCOMPARE(interface()->text(), QStringLiteral("vlan100x"));

    // Already saved, even in another Unicode normalisation: the sheet closes and nothing changes.
    saveThroughSheet(QStringLiteral(" vlan100"));
    QCOMPARE(saved(), QStringList{QStringLiteral("vlan100")});
    QCOMPARE(interface()->text(), QStringLiteral("vlan100x"));
    saveThroughSheet(QStringLiteral("caf\u00e9"));
    saveThroughSheet(QStringLiteral("cafe\u0301"));
    QCOMPARE(saved(), (QStringList{QStringLiteral("caf\u00e9"), QStringLiteral("vlan100")}));
    QCOMPARE(interface()->text(), QStringLiteral("caf\u00e9"));
    // Case matters.
    saveThroughSheet(QStringLiteral("VLAN100"));
    QCOMPARE(saved(), (QStringList{QStringLiteral("VLAN100"), QStringLiteral("caf\u00e9"), QStringLiteral("vlan100")}));
}

void TestInterfaceSheets::saveSheetKeys()
{
    // Return in the empty field closes the sheet and saves nothing.
    SaveInterfaceDialog *sheet = openSaveSheet(QStringLiteral("Add Custom Interface\u2026"));
    QVERIFY(sheet);
    QSignalSpy accepted(sheet, &QDialog::accepted);
    QTest::keyClick(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), Qt::Key_Return);
    QTRY_VERIFY(!f.view()->findChild<SaveInterfaceDialog *>());
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(saved(), QStringList());
    QCOMPARE(interface()->text(), QStringLiteral("any"));

    // Escape cancels, whatever was typed.
    sheet = openSaveSheet(QStringLiteral("Add Custom Interface\u2026"));
    QVERIFY(sheet);
    SnifferFixture::type(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), QStringLiteral("wan3"));
    QTest::keyClick(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), Qt::Key_Escape);
    QTRY_VERIFY(!f.view()->findChild<SaveInterfaceDialog *>());
    QCOMPARE(saved(), QStringList());

    // Return with a name saves it, once.
    sheet = openSaveSheet(QStringLiteral("Add Custom Interface\u2026"));
    QVERIFY(sheet);
    QSignalSpy acceptedOnce(sheet, &QDialog::accepted);
    SnifferFixture::type(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), QStringLiteral("wan3"));
    QTest::keyClick(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), Qt::Key_Return);
    QTRY_VERIFY(!f.view()->findChild<SaveInterfaceDialog *>());
    QCOMPARE(acceptedOnce.size(), 1);
    QCOMPARE(saved(), QStringList{QStringLiteral("wan3")});
    QCOMPARE(interface()->text(), QStringLiteral("wan3"));
}

void TestInterfaceSheets::savedNamesSortedAndPersisted()
{
    for (const QString &name : {QStringLiteral("wan3"), QStringLiteral("Lab"), QStringLiteral("dmz")})
        saveThroughSheet(name);
    QCOMPARE(saved(), (QStringList{QStringLiteral("Lab"), QStringLiteral("dmz"), QStringLiteral("wan3")}));
    QCOMPARE(storedList(f.storage(), SettingsStorage::customInterfaces), QByteArray(R"(["Lab","dmz","wan3"])"));

    // A new store on the same settings, and a new form, read the list back.
    InterfaceStore again(f.storage());
    again.load();
    QCOMPARE(again.interfaces(), saved());
}

void TestInterfaceSheets::manageSheet()
{
    // Opened with no names (as it may stay open after the last is deleted): the empty text.
    f.view()->openManageInterfacesSheet();
    auto *sheet = openSheet<ManageInterfacesDialog>();
    QVERIFY(sheet);
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    QCOMPARE(sheet->width(), 420);
    QCOMPARE(sheet->findChild<QLabel *>(QStringLiteral("heading"))->text(), QStringLiteral("Custom Interfaces"));
    auto *empty = sheet->findChild<QLabel *>(QStringLiteral("noInterfaces"));
    auto *list = sheet->findChild<QListWidget *>(QStringLiteral("interfaceList"));
    QVERIFY(empty->isVisible());
    QCOMPARE(empty->text(), QStringLiteral("No custom interfaces saved."));
    QVERIFY(!list->isVisible());
    QTest::keyClick(sheet, Qt::Key_Return);
    QTRY_VERIFY(!f.view()->findChild<ManageInterfacesDialog *>());

    recreateWith({QStringLiteral("vlan100"), QStringLiteral("dmz"), QStringLiteral("vlan100")});
    menuItem(QStringLiteral("Manage Custom Interfaces\u2026"))->trigger();
    sheet = openSheet<ManageInterfacesDialog>();
    QVERIFY(sheet);
    list = sheet->findChild<QListWidget *>(QStringLiteral("interfaceList"));
    empty = sheet->findChild<QLabel *>(QStringLiteral("noInterfaces"));
    QVERIFY(list->isVisible());
    QVERIFY(!empty->isVisible());
    QVERIFY(list->height() >= 160 && list->height() <= 320);
    const auto rows = [list] {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->itemWidget(list->item(i))->findChild<QLabel *>(QStringLiteral("interfaceName"))->text();
        return names;
    };
    QCOMPARE(rows(), (QStringList{QStringLiteral("vlan100"), QStringLiteral("dmz"), QStringLiteral("vlan100")}));
    const auto deleteButton = [list](int row) {
        return list->itemWidget(list->item(row))->findChild<QToolButton *>(QStringLiteral("remove"));
    };
    QCOMPARE(deleteButton(1)->accessibleName(), QStringLiteral("Delete dmz"));

    // Deleting removes every copy at once, and is saved at once.
    QTest::mouseClick(deleteButton(0), Qt::LeftButton);
    QCOMPARE(rows(), QStringList{QStringLiteral("dmz")});
    QCOMPARE(storedList(f.storage(), SettingsStorage::customInterfaces), QByteArray(R"(["dmz"])"));
    QVERIFY(!menuItem(QStringLiteral("vlan100")));

    QTest::mouseClick(deleteButton(0), Qt::LeftButton);
    QVERIFY(empty->isVisible());
    QVERIFY(!list->isVisible());
    QVERIFY(!menuEntries().contains(QStringLiteral("[My Interfaces]")));
    QVERIFY(!menuItem(QStringLiteral("Manage Custom Interfaces\u2026")));
    QCOMPARE(storedList(f.storage(), SettingsStorage::customInterfaces), QByteArray("[]"));

    auto *done = sheet->findChild<QPushButton *>(QStringLiteral("done"));
    QVERIFY(done->isDefault());
    QTest::mouseClick(done, Qt::LeftButton);
    QTRY_VERIFY(!f.view()->findChild<ManageInterfacesDialog *>());
}

void TestInterfaceSheets::manageSheetAddsThroughTheSaveSheet()
{
    recreateWith({QStringLiteral("port9")});
    menuItem(QStringLiteral("Manage Custom Interfaces\u2026"))->trigger();
    auto *manage = openSheet<ManageInterfacesDialog>();
    QVERIFY(manage);
    auto *add = manage->findChild<QPushButton *>(QStringLiteral("add"));
    QCOMPARE(add->text(), QStringLiteral("Add"));
    QTest::mouseClick(add, Qt::LeftButton);
    auto *sheet = manage->findChild<SaveInterfaceDialog *>();
    QVERIFY(sheet);
    QVERIFY(QTest::qWaitForWindowExposed(sheet));
    QCOMPARE(sheet->name(), QString());
    SnifferFixture::type(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), QStringLiteral("guest-wifi"));
    QTest::keyClick(sheet->findChild<QLineEdit *>(QStringLiteral("interfaceName")), Qt::Key_Return);
    QTRY_VERIFY(!manage->findChild<SaveInterfaceDialog *>());

    auto *list = manage->findChild<QListWidget *>(QStringLiteral("interfaceList"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(saved(), (QStringList{QStringLiteral("guest-wifi"), QStringLiteral("port9")}));
    QCOMPARE(interface()->text(), QStringLiteral("guest-wifi"));
    // Return closes the manage sheet ("Done"), even though "Add" was clicked last.
    QTest::keyClick(manage, Qt::Key_Return);
    QTRY_VERIFY(!f.view()->findChild<ManageInterfacesDialog *>());
}

QTEST_MAIN(TestInterfaceSheets)
#include "tst_interfacesheets.moc"
