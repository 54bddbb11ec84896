// Every builder form, as the user works it, against the core form as the oracle: each field of the
// form's table has its control, and editing the control is the same as setting the field. Then the
// kit's promises across all forms, and the rules that show, hide or enable controls.

#include "app/categoryviewfactory.h"
#include "builders/bpfbuilderview.h"
#include "builders/formregistry.h"
#include "builders/routingform.h"
#include "builders/segmentedpicker.h"
#include "builders/snifferview.h"
#include "output/commandoutputview.h"

#include "teststores.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

namespace {
// Settings made first so that a field's control can be reached: its box shown, or enabled.
QStringList prerequisites(DebugCategory category, const QString &field)
{
    if (category == DebugCategory::routing) {
        if (field == QLatin1String("timestamps") || field == QLatin1String("includeStopBlock"))
            return {QStringLiteral("ospfDebug=true")};
        if (field == QLatin1String("bgpNeighborRoutes") || field == QLatin1String("bgpAdvertisedRoutes"))
            return {QStringLiteral("proto=bgp"), QStringLiteral("bgpNeighborIP=10.0.0.1")};
        if (field.startsWith(QLatin1String("bgp")))
            return {QStringLiteral("proto=bgp")};
        if (field.startsWith(QLatin1String("static")))
            return {QStringLiteral("proto=staticR")};
    }
    if (category == DebugCategory::sniffer && field == QLatin1String("customFilter"))
        return {QStringLiteral("useCustomFilter=true")};
    return {};
}

// A value unlike the field's default: text with spaces around and inside, a flag flipped, the last
// case (or the first, when the last is the default).
QString otherValue(const AnyForm::Field &field)
{
    switch (field.kind) {
    case FieldKind::Text:
        return QStringLiteral(" a-1 b ");
    case FieldKind::MultiLineText:
        return QStringLiteral("a\nb");
    case FieldKind::Flag:
        return field.defaultValue == QLatin1String("true") ? QStringLiteral("false") : QStringLiteral("true");
    case FieldKind::Enumeration:
        return field.choices.last() == field.defaultValue ? field.choices.first() : field.choices.last();
    }
    return {};
}

// Makes a control show value as the user would: typing, clicking, choosing with the keyboard.
void edit(QWidget *view, const QString &name, const QString &value, const QStringList &choices)
{
    // Whatever an earlier edit showed is laid out before the user reaches it.
    QCoreApplication::processEvents();
    QWidget *control = view->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY2(control->isVisible() && control->isEnabled(), qPrintable(name));
    if (auto *line = qobject_cast<QLineEdit *>(control)) {
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(line, value);
    } else if (auto *text = qobject_cast<QPlainTextEdit *>(control)) {
        text->selectAll();
        for (const QString &part : value.split(u'\n')) {
            if (part.data() != value.data() && !text->toPlainText().isEmpty())
                QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, part);
        }
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        if (check->isChecked() != (value == QLatin1String("true")))
            QTest::mouseClick(check, Qt::LeftButton, {}, check->rect().center());
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (qsizetype i = choices.indexOf(value); i > 0; --i)
            QTest::keyClick(combo, Qt::Key_Down);
    } else if (auto *picker = qobject_cast<SegmentedPicker *>(control)) {
        QTest::mouseClick(picker->button(int(choices.indexOf(value))), Qt::LeftButton);
    } else {
        QFAIL(qPrintable(QStringLiteral("no way to edit %1").arg(name)));
    }
}

QString panelText(QWidget *view)
{
    auto *output = view->findChild<CommandOutputView *>();
    auto *text = output->findChild<QPlainTextEdit *>(QStringLiteral("commandText"));
    return text->isVisible() ? text->toPlainText() : QString();
}

AnyForm::Field fieldNamed(const AnyForm &form, const QString &name)
{
    for (const AnyForm::Field &f : form.fields()) {
        if (f.name == name)
            return f;
    }
    return {};
}
} // namespace

class TestBuilderViews : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editingAControlSetsItsField_data();
    void editingAControlSetsItsField();
    void everyBuilderParameterHasItsControl();
    void labelsAndCheckRowsAlike();
    void routingShowsOneAreaAndNeedsANeighbour();
    void topMemTakesNoDelay();
    void customFilterSwapsRowsForTheBuilder();
    void builderWritesTheFilter();

private:
    QWidget *open(DebugCategory category);

    std::unique_ptr<TestStores> m_stores;
    std::unique_ptr<QWidget> m_view;
};

void TestBuilderViews::init()
{
    m_stores = std::make_unique<TestStores>();
}

void TestBuilderViews::cleanup()
{
    m_view.reset();
    m_stores.reset();
}

QWidget *TestBuilderViews::open(DebugCategory category)
{
    m_view.reset(CategoryViewFactory::create(category, m_stores->stores()));
    m_view->resize(1000, 900);
    m_view->show();
    m_view->activateWindow();
    return QTest::qWaitForWindowActive(m_view.get()) ? m_view.get() : nullptr;
}

void TestBuilderViews::editingAControlSetsItsField_data()
{
    QTest::addColumn<DebugCategory>("category");
    QTest::addColumn<QString>("field");
    for (DebugCategory category : FormRegistry::builderCategories()) {
        for (const AnyForm::Field &f : FormRegistry::create(category)->fields())
            QTest::addRow("%s %s", qPrintable(Enum::caseName(category)), qPrintable(f.name)) << category << f.name;
    }
}

void TestBuilderViews::editingAControlSetsItsField()
{
    QFETCH(DebugCategory, category);
    QFETCH(QString, field);
    QWidget *view = open(category);
    QVERIFY(view);
    auto expected = FormRegistry::create(category);
    QStringList edits = prerequisites(category, field);
    edits << field + u'=' + otherValue(fieldNamed(*expected, field));
    for (const QString &assignment : std::as_const(edits)) {
        const QString name = assignment.section(u'=', 0, 0);
        const QString value = assignment.section(u'=', 1);
        edit(view, name, value, fieldNamed(*expected, name).choices);
        QVERIFY(expected->setField(name, value));
        QCOMPARE(panelText(view), expected->generatedCommand());
    }
    QCOMPARE(view->findChild<CommandOutputView *>()->title(), expected->title());
}

void TestBuilderViews::everyBuilderParameterHasItsControl()
{
    auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
    QVERIFY(sniffer);
    edit(sniffer, QStringLiteral("useCustomFilter"), QStringLiteral("true"), {});
    BPFBuilderView *builder = sniffer->bpfBuilder();
    QVERIFY(builder);
    // Each parameter, edited in the builder and in a core form alike, leaves the two forms equal.
    BPFBuilderForm expected;
    const QStringList types = Enum::caseNames<BPFBuilderForm::SnippetType>();
    for (const auto &f : BPFBuilderForm::fields()) {
        QWidget *control = builder->findChild<QWidget *>(f.name);
        QVERIFY2(control, qPrintable(f.name));
        // A parameter of another snippet type: choose the type that shows it.
        for (qsizetype t = 0; t < types.size() && !control->isVisible(); ++t) {
            edit(builder, QStringLiteral("type"), types.at(t), types);
            Fields::find(&BPFBuilderForm::type)->set(expected, types.at(t));
        }
        const QString current = f.get(expected);
        const QString value = f.kind == FieldKind::Flag ? QString::fromLatin1(current == u"true" ? "false" : "true")
                              : f.kind == FieldKind::Enumeration
                                  ? f.choices.at(f.choices.last() == current ? 0 : f.choices.size() - 1)
                                  : QStringLiteral("10.0.0.1");
        edit(builder, f.name, value, f.choices);
        QVERIFY(f.set(expected, value));
        for (const auto &g : BPFBuilderForm::fields())
            QCOMPARE(g.get(builder->form()), g.get(expected));
    }
}

void TestBuilderViews::labelsAndCheckRowsAlike()
{
    QList<int> checkRowHeights;
    for (DebugCategory category : FormRegistry::builderCategories()) {
        QWidget *view = open(category);
        QVERIFY(view);
        for (QLabel *label : view->findChildren<QLabel *>()) {
            if (label->buddy() && label->isVisible() && label->textFormat() == Qt::PlainText &&
                !label->text().isEmpty())
                QCOMPARE(label->buddy()->accessibleName(), label->text());
        }
        for (QCheckBox *check : view->findChildren<QCheckBox *>()) {
            const auto *rich = view->findChild<QLabel *>(check->objectName() + QStringLiteral("Label"));
            QCOMPARE(check->accessibleName(), rich ? rich->text()
                                                         .remove(QRegularExpression(QStringLiteral("<[^>]*>")))
                                                         .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                                                   : check->text());
            if (check->parentWidget()->property("checkRow").toBool() && check->isVisible())
                checkRowHeights << check->parentWidget()->height();
        }
    }
    QVERIFY(checkRowHeights.size() > 40);
    QCOMPARE(*std::min_element(checkRowHeights.cbegin(), checkRowHeights.cend()),
             *std::max_element(checkRowHeights.cbegin(), checkRowHeights.cend()));
}

void TestBuilderViews::routingShowsOneAreaAndNeedsANeighbour()
{
    QWidget *view = open(DebugCategory::routing);
    QVERIFY(view);
    const QStringList protos = Enum::caseNames<RoutingForm::RouteProto>();
    for (const QString &proto : protos) {
        edit(view, QStringLiteral("proto"), proto, protos);
        for (RoutingForm::RouteProto area : Enum::allCases<RoutingForm::RouteProto>()) {
            const QString title = QString::fromUtf8(Enum::payload(area).groupTitle);
            QGroupBox *box = nullptr;
            for (QGroupBox *candidate : view->findChildren<QGroupBox *>()) {
                if (candidate->title() == title)
                    box = candidate;
            }
            QVERIFY2(box, qPrintable(title));
            QCOMPARE(box->isVisible(), Enum::caseName(area) == proto);
        }
    }
    edit(view, QStringLiteral("proto"), QStringLiteral("bgp"), protos);
    const auto *routes = view->findChild<QCheckBox *>(QStringLiteral("bgpNeighborRoutes"));
    QVERIFY(!routes->isEnabled());
    edit(view, QStringLiteral("bgpNeighborIP"), QStringLiteral("10.0.0.1"), {});
    QVERIFY(routes->isEnabled());
    edit(view, QStringLiteral("bgpNeighborIP"), QStringLiteral(" \t"), {});
    QVERIFY(!routes->isEnabled());
}

void TestBuilderViews::topMemTakesNoDelay()
{
    QWidget *view = open(DebugCategory::top);
    QVERIFY(view);
    const auto *delay = view->findChild<QLineEdit *>(QStringLiteral("delay"));
    const QStringList variants =
        fieldNamed(*FormRegistry::create(DebugCategory::top), QStringLiteral("variant")).choices;
    for (const QString &variant : variants) {
        edit(view, QStringLiteral("variant"), variant, variants);
        QCOMPARE(delay->isEnabled(), variant != QLatin1String("topMem"));
    }
}

void TestBuilderViews::customFilterSwapsRowsForTheBuilder()
{
    auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
    QVERIFY(sniffer);
    const QStringList simple{QStringLiteral("proto"), QStringLiteral("host"), QStringLiteral("hostMode"),
                             QStringLiteral("network"), QStringLiteral("portList")};
    const auto visible = [sniffer](const QString &name) { return sniffer->findChild<QWidget *>(name)->isVisible(); };
    QVERIFY(!sniffer->bpfBuilder() && !visible(QStringLiteral("customFilter")));
    edit(sniffer, QStringLiteral("useCustomFilter"), QStringLiteral("true"), {});
    QVERIFY(sniffer->bpfBuilder() && sniffer->bpfBuilder()->isVisible() && visible(QStringLiteral("customFilter")));
    for (const QString &name : simple)
        QVERIFY2(!visible(name), qPrintable(name));
    // A builder starts from its defaults each time.
    edit(sniffer->bpfBuilder(), QStringLiteral("negate"), QStringLiteral("true"), {});
    edit(sniffer, QStringLiteral("useCustomFilter"), QStringLiteral("false"), {});
    QVERIFY(!sniffer->bpfBuilder());
    for (const QString &name : simple)
        QVERIFY2(visible(name), qPrintable(name));
    edit(sniffer, QStringLiteral("useCustomFilter"), QStringLiteral("true"), {});
    QVERIFY(!sniffer->bpfBuilder()->form().negate);
}

void TestBuilderViews::builderWritesTheFilter()
{
    auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
    QVERIFY(sniffer);
    edit(sniffer, QStringLiteral("useCustomFilter"), QStringLiteral("true"), {});
    BPFBuilderView *builder = sniffer->bpfBuilder();
    const auto *filter = sniffer->findChild<QPlainTextEdit *>(QStringLiteral("customFilter"));
    auto *add = builder->findChild<QAbstractButton *>(QStringLiteral("addToFilter"));
    auto expected = FormRegistry::create(DebugCategory::sniffer);
    expected->setField(QStringLiteral("useCustomFilter"), QStringLiteral("true"));
    const auto shows = [&](const QString &text) {
        expected->setField(QStringLiteral("customFilter"), text);
        return filter->toPlainText() == text && panelText(sniffer) == expected->generatedCommand();
    };

    // Nothing to add while the snippet is empty.
    QVERIFY(!add->isEnabled());
    BPFBuilderForm form;
    form.type = BPFBuilderForm::SnippetType::port;
    form.portList = QStringLiteral("443");
    edit(builder, QStringLiteral("type"), QStringLiteral("port"), Enum::caseNames<BPFBuilderForm::SnippetType>());
    edit(builder, QStringLiteral("portList"), QStringLiteral("443"), {});
    QCOMPARE(builder->findChild<QLabel *>(QStringLiteral("snippetPreview"))->text(),
             QStringLiteral("Preview: ") + form.decoratedSnippet());
    QTest::mouseClick(add, Qt::LeftButton);
    QString text = form.addToFilter(QString());
    QVERIFY(shows(text));
    // The keys, from the field being typed in.
    QTest::keyClick(builder->findChild<QLineEdit *>(QStringLiteral("portList")), Qt::Key_Return, Qt::ControlModifier);
    text = form.addToFilter(text);
    QTRY_VERIFY(shows(text)); // a shortcut animates the button's click
    for (BPFBuilderForm::Preset preset : Enum::allCases<BPFBuilderForm::Preset>()) {
        QTest::mouseClick(builder->findChild<QAbstractButton *>(Enum::caseName(preset)), Qt::LeftButton);
        text = form.addPreset(text, preset);
        QVERIFY(shows(text));
    }
    QTest::mouseClick(builder->findChild<QAbstractButton *>(QStringLiteral("clearFilter")), Qt::LeftButton);
    QVERIFY(shows(QString()));
}

QTEST_MAIN(TestBuilderViews)
#include "tst_builderviews.moc"
