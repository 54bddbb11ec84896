#include "app/categoryviewfactory.h"
#include "builders/builderview.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"
#include "output/commandoutputview.h"

#include <QTemporaryDir>
#include <QTest>

class TestCategoryViewFactory : public QObject
{
    Q_OBJECT

private slots:
    void builderCategoriesGetTheirForm_data();
    void builderCategoriesGetTheirForm();
};

void TestCategoryViewFactory::builderCategoriesGetTheirForm_data()
{
    QTest::addColumn<DebugCategory>("category");
    QTest::addColumn<QString>("viewClass");
    QTest::addColumn<QString>("panelTitle");
    QTest::newRow("top") << DebugCategory::top << "SystemTopView"
                         << "System Performance";
    QTest::newRow("ha") << DebugCategory::ha << "HAView"
                        << "HA Troubleshooting";
    QTest::newRow("routing") << DebugCategory::routing << "RoutingView"
                             << "OSPF Routing";
}

void TestCategoryViewFactory::builderCategoriesGetTheirForm()
{
    QFETCH(DebugCategory, category);
    QFETCH(QString, viewClass);
    QFETCH(QString, panelTitle);
    QTemporaryDir dir;
    SettingsStorage storage(dir.filePath(QStringLiteral("settings.conf")));
    CommandStore store(storage);

    std::unique_ptr<QWidget> view(CategoryViewFactory::create(category, store));
    QCOMPARE(QString::fromLatin1(view->metaObject()->className()), viewClass);
    auto *form = qobject_cast<BuilderView *>(view.get());
    QVERIFY(form);
    QCOMPARE(form->output()->title(), panelTitle);
    QVERIFY(!form->output()->command().isEmpty());
}

QTEST_MAIN(TestCategoryViewFactory)
#include "tst_categoryviewfactory.moc"
