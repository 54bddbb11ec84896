// Every builder form, as the user works it, against the core form as the oracle: each field of the
// form's table has its control, and editing the control is the same as setting the field. Then the
// kit's promises across all forms, and the rules that show, hide or enable controls.

#include "app/categoryviewfactory.h"
#include "app/contentview.h"
#include "app/mainwindow.h"
#include "builders/bpfbuilderview.h"
#include "builders/formgrid.h"
#include "builders/formregistry.h"
#include "builders/routingform.h"
#include "builders/segmentedpicker.h"
#include "builders/snifferview.h"
#include "builders/systemtopform.h"
#include "common/copybutton.h"
#include "filtercheck/filtercheck.h"
#include "filtercheck/pcapfilter.h"
#include "model/navigationstate.h"
#include "output/commandoutputview.h"

#include "teststores.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

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

// A value unlike the field's default: text with spaces around and inside (digits only, so that the
// capture filter made of it sends no name to the resolver), a flag flipped, the last case (or the
// first, when the last is the default).
QString otherValue(const AnyForm::Field &field)
{
    switch (field.kind) {
    case FieldKind::Text:
        return QStringLiteral(" 1 2 ");
    case FieldKind::MultiLineText:
        return QStringLiteral("1\n2");
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
        // With the arrow keys from the current segment; the top test clicks.
        const int target = int(choices.indexOf(value));
        picker->button(picker->currentIndex())->setFocus();
        while (picker->currentIndex() != target) {
            const int before = picker->currentIndex();
            QTest::keyClick(QApplication::focusWidget(), before < target ? Qt::Key_Right : Qt::Key_Left);
            QVERIFY2(picker->currentIndex() != before, qPrintable(name));
        }
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
    void fieldsStartAtOneXAndKeepTheirWidth();
    void routingShowsOneAreaAndNeedsANeighbour();
    void topMemTakesNoDelay();
    void customFilterSwapsRowsForTheBuilder();
    void builderWritesTheFilter();
    void snifferChecksItsFilter();
    void typingAFilterMovesNothingBelow_data();
    void typingAFilterMovesNothingBelow();
    void offloadSnippetCopies();
    void smallestWindowShowsFormsInReadingOrder_data();
    void smallestWindowShowsFormsInReadingOrder();

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

    // Each type shows exactly the parameters that make a difference to its snippet (the combinator
    // makes one to what is added), with the flags all off or all on.
    for (const QString &type : types) {
        edit(builder, QStringLiteral("type"), type, types);
        for (const auto &f : BPFBuilderForm::fields()) {
            bool matters = false;
            for (const bool flags : {false, true}) {
                BPFBuilderForm base;
                for (const auto &g : BPFBuilderForm::fields()) {
                    if (g.kind == FieldKind::Text || g.kind == FieldKind::Flag)
                        g.set(base, g.kind == FieldKind::Text ? u"1"_s : flags ? u"true"_s : u"false"_s);
                }
                Fields::find(&BPFBuilderForm::type)->set(base, type);
                BPFBuilderForm changed = base;
                f.set(changed, f.kind == FieldKind::Text   ? u"2"_s
                               : f.kind == FieldKind::Flag ? (flags ? u"false"_s : u"true"_s)
                                                           : f.choices.at(f.get(base) == f.choices.first()));
                matters = matters || changed.decoratedSnippet() != base.decoratedSnippet() ||
                          changed.addToFilter(u"x"_s) != base.addToFilter(u"x"_s);
            }
            QVERIFY2(builder->findChild<QWidget *>(f.name)->isVisible() == matters, qPrintable(type + u' ' + f.name));
        }
    }
}

void TestBuilderViews::labelsAndCheckRowsAlike()
{
    QList<int> checkRowHeights;
    QSet<int> gaps; // from a label to its control
    for (DebugCategory category : FormRegistry::builderCategories()) {
        QWidget *view = open(category);
        QVERIFY(view);
        for (QLabel *label : view->findChildren<QLabel *>()) {
            if (label->buddy() && label->isVisible() && label->textFormat() == Qt::PlainText &&
                !label->text().isEmpty()) {
                QCOMPARE(label->buddy()->accessibleName(), label->text());
                const QRect l(label->mapTo(view, QPoint()), label->size());
                const QRect b(label->buddy()->mapTo(view, QPoint()), label->buddy()->size());
                if (l.top() < b.bottom() && b.top() < l.bottom()) // on one line
                    gaps.insert(b.left() - l.right());
            }
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
    QCOMPARE(gaps.size(), 1);
    QVERIFY(checkRowHeights.size() > 40);
    QCOMPARE(*std::min_element(checkRowHeights.cbegin(), checkRowHeights.cend()),
             *std::max_element(checkRowHeights.cbegin(), checkRowHeights.cend()));
}

void TestBuilderViews::fieldsStartAtOneXAndKeepTheirWidth()
{
    const auto fieldStarts = [](QWidget *view) {
        QCoreApplication::processEvents();
        QSet<int> starts;
        for (const FormGrid *grid : view->findChildren<FormGrid *>()) {
            for (const QLabel *label : grid->findChildren<QLabel *>()) {
                if (label->isVisible() && !label->text().isEmpty() && grid->labelFor(label->buddy()) == label)
                    starts << label->buddy()->mapTo(view, QPoint()).x();
            }
        }
        return starts;
    };
    for (DebugCategory category : FormRegistry::builderCategories()) {
        auto *view = qobject_cast<QScrollArea *>(open(category));
        QVERIFY(view);
        QSet<int> starts = fieldStarts(view);
        if (category == DebugCategory::sniffer) {
            // With the builder of the custom filter, and each of its snippet types' rows.
            edit(view, u"useCustomFilter"_s, u"true"_s, {});
            const QStringList types = Enum::caseNames<BPFBuilderForm::SnippetType>();
            for (const QString &type : types) {
                edit(view, u"type"_s, type, types);
                starts += fieldStarts(view);
            }
        }
        QVERIFY2(starts.size() <= 1, qPrintable(Enum::caseName(category)));
        // The scroll bar coming and going leaves the rows as wide as they were.
        QSet<int> widths;
        for (int height : {200, 5000}) {
            view->resize(1000, height);
            QTRY_COMPARE(view->verticalScrollBar()->isVisible(), height == 200);
            widths << view->widget()->width();
        }
        QCOMPARE(widths.size(), 1);
    }
}

void TestBuilderViews::routingShowsOneAreaAndNeedsANeighbour()
{
    QWidget *view = open(DebugCategory::routing);
    QVERIFY(view);
    const QStringList protos = Enum::caseNames<RoutingForm::RouteProto>();
    for (const QString &proto : protos) {
        edit(view, QStringLiteral("proto"), proto, protos);
        for (RoutingForm::RouteProto area : Enum::allCases<RoutingForm::RouteProto>()) {
            const QString title = Enum::text(Enum::payload(area).groupTitle);
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

    // Each box's debug options show under its own debug check, and both boxes show the same flags.
    const auto *bgpStop = view->findChild<QCheckBox *>(QStringLiteral("includeStopBlockBgp"));
    const auto *ospfStop = view->findChild<QCheckBox *>(QStringLiteral("includeStopBlock"));
    edit(view, QStringLiteral("bgpDebug"), QStringLiteral("false"), {});
    QVERIFY(!bgpStop->isVisible());
    edit(view, QStringLiteral("bgpDebug"), QStringLiteral("true"), {});
    edit(view, QStringLiteral("includeStopBlockBgp"), bgpStop->isChecked() ? u"false"_s : u"true"_s, {});
    edit(view, QStringLiteral("proto"), QStringLiteral("ospf"), protos);
    edit(view, QStringLiteral("ospfDebug"), QStringLiteral("true"), {});
    QCOMPARE(ospfStop->isChecked(), bgpStop->isChecked());
}

void TestBuilderViews::topMemTakesNoDelay()
{
    QWidget *view = open(DebugCategory::top);
    QVERIFY(view);
    const auto *delay = view->findChild<QLineEdit *>(QStringLiteral("delay"));
    const QStringList variants =
        fieldNamed(*FormRegistry::create(DebugCategory::top), QStringLiteral("variant")).choices;
    auto *picker = view->findChild<SegmentedPicker *>(QStringLiteral("variant"));
    for (int i = 0; i < picker->count(); ++i) {
        QTest::mouseClick(picker->button(i), Qt::LeftButton);
        QCOMPARE(delay->isEnabled(), variants.at(i) != QLatin1String("topMem"));
        const auto variant = Enum::fromCaseName<SystemTopForm::Variant>(variants.at(i));
        QCOMPARE(view->findChild<QLabel *>(QStringLiteral("variantDescription"))->text(),
                 Enum::text(Enum::payload(*variant).description));
    }
    // Too narrow for the segments: the same choice as a drop-down.
    view->resize(500, 900);
    QTRY_VERIFY(picker->menu()->isVisible() && !picker->button(0)->isVisible());
    QCOMPARE(picker->menu()->currentText(), picker->itemText(picker->currentIndex()));
    QTest::keyClick(picker->menu(), Qt::Key_Home);
    QVERIFY(picker->button(0)->isChecked() && delay->isEnabled());
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

void TestBuilderViews::snifferChecksItsFilter()
{
    auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
    QVERIFY(sniffer);
    const auto *preview = sniffer->findChild<QWidget *>(QStringLiteral("filterPreviewGroup"));
    const auto *mark = sniffer->findChild<QLabel *>(QStringLiteral("filterCheckMark"));
    const auto *status = sniffer->findChild<QLabel *>(QStringLiteral("filterCheckStatus"));
    const auto warnings = [sniffer] {
        QStringList shown;
        for (const QLabel *label : sniffer->findChildren<QLabel *>(QStringLiteral("filterWarningText"))) {
            if (label->isVisible())
                shown << label->text();
        }
        return shown;
    };
    // Blank is no filter: no preview, no verdict.
    edit(sniffer, QStringLiteral("host"), QStringLiteral(" \t "), {});
    QVERIFY(!preview->isVisible());
    QCOMPARE(mark->property("symbol").toString(), QString());

    edit(sniffer, QStringLiteral("host"), QStringLiteral("1'"), {});
    QVERIFY(preview->isVisible());
    QCOMPARE(sniffer->findChild<QLabel *>(QStringLiteral("filterPreview"))->text(), sniffer->form().filterExpression());
    QCOMPARE(warnings(), FilterCheck::warningsFor(sniffer->form().filterExpression()));
    QVERIFY(!warnings().isEmpty());

    edit(sniffer, QStringLiteral("useCustomFilter"), QStringLiteral("true"), {});
    const QString broken = QStringLiteral("tcp port 443 and (");
    edit(sniffer, QStringLiteral("customFilter"), broken, {});
    const PcapFilter::Result verdict = PcapFilter::compile(broken);
    QVERIFY(!verdict.valid && !verdict.message.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(mark->property("symbol").toString(), QStringLiteral("xmark.circle"), 10000);
    QVERIFY2(status->text().endsWith(verdict.message), qPrintable(status->text()));
    // Advice only: the command is generated as typed.
    auto expected = FormRegistry::create(DebugCategory::sniffer);
    expected->setField(QStringLiteral("useCustomFilter"), QStringLiteral("true"));
    expected->setField(QStringLiteral("customFilter"), broken);
    QCOMPARE(panelText(sniffer), expected->generatedCommand());

    edit(sniffer, QStringLiteral("customFilter"), QStringLiteral("tcp port 443\nand net 10.0.0.0/8"), {});
    QTRY_COMPARE_WITH_TIMEOUT(mark->property("symbol").toString(), QStringLiteral("checkmark.circle"), 10000);
    QVERIFY(!status->text().contains(verdict.message));
    QCOMPARE(warnings(), FilterCheck::warningsFor(sniffer->form().filterExpression()));
}

void TestBuilderViews::typingAFilterMovesNothingBelow_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("judged"); // the field whose filter the verdict is about
    // A verdict, a warning and the preview appear.
    QTest::newRow("simple rows") << u"host"_s << u"1'"_s << u"portList"_s;
    QTest::newRow("custom filter") << u"customFilter"_s << u"port 80 and"_s << u"customFilter"_s;
}

void TestBuilderViews::typingAFilterMovesNothingBelow()
{
    QFETCH(QString, field);
    QFETCH(QString, filter);
    QFETCH(QString, judged);
    auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
    QVERIFY(sniffer);
    if (field == u"customFilter")
        edit(sniffer, u"useCustomFilter"_s, u"true"_s, {});
    const auto tops = [sniffer] {
        QCoreApplication::processEvents();
        QList<int> tops;
        for (const char *name : {"outputGroup", "generatedCommand"})
            tops << child(sniffer, name)->mapTo(sniffer, QPoint()).y();
        return tops;
    };
    const QList<int> before = tops();
    edit(sniffer, field, filter, {});
    QTRY_COMPARE(child(sniffer, "filterCheckMark")->property("symbol").toString(), u"xmark.circle"_s);
    QCOMPARE(tops(), before);
    // The verdict is the next thing under the field it judges.
    const QWidget *above = child(sniffer, qPrintable(judged));
    const int gap = child(sniffer, "filterCheck")->mapTo(sniffer, QPoint()).y() - above->mapTo(sniffer, QPoint()).y() -
                    above->height();
    QVERIFY2(gap >= 0 && gap <= 12, qPrintable(QString::number(gap)));
}

void TestBuilderViews::offloadSnippetCopies()
{
    QWidget *sniffer = open(DebugCategory::sniffer);
    QVERIFY(sniffer);
    auto *copy = sniffer->findChild<CopyButton *>(QStringLiteral("copyOffload"));
    auto *panelCopy = sniffer->findChild<CommandOutputView *>()->findChild<CopyButton *>(QStringLiteral("copy"));
    const QString idle = copy->text();
    const QString panelIdle = panelCopy->text();
    const int width = copy->width();
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             sniffer->findChild<QLabel *>(QStringLiteral("offloadSnippet"))->text());
    QVERIFY(copy->text() != idle);
    QCOMPARE(panelCopy->text(), panelIdle); // each button has its own feedback
    QCoreApplication::processEvents();
    QCOMPARE(copy->width(), width); // "Copied" moves nothing beside it
    QTRY_COMPARE_WITH_TIMEOUT(copy->text(), idle, 5000);
    // The warning triangle is filled: solid inside, beside its mark.
    const QImage icon = child<QLabel>(sniffer, "offloadIcon")->pixmap().toImage();
    QCOMPARE(qAlpha(icon.pixel(icon.width() * 3 / 10, icon.height() * 8 / 10)), 255);
}

void TestBuilderViews::smallestWindowShowsFormsInReadingOrder_data()
{
    QTest::addColumn<DebugCategory>("category");
    QTest::addColumn<bool>("customFilter");
    for (DebugCategory category : FormRegistry::builderCategories())
        QTest::addRow("%s", qPrintable(Enum::caseName(category))) << category << false;
    QTest::addRow("sniffer with builder") << DebugCategory::sniffer << true;
}

void TestBuilderViews::smallestWindowShowsFormsInReadingOrder()
{
    QFETCH(DebugCategory, category);
    QFETCH(bool, customFilter);
    NavigationState nav;
    nav.setSelectedCategory(category);
    QAction help, quit;
    MainWindow window(m_stores->stores(), nav, &help, &quit);
    window.resize(window.minimumSize());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *view = qobject_cast<QScrollArea *>(window.content()->detail());
    if (customFilter)
        edit(view, QStringLiteral("useCustomFilter"), QStringLiteral("true"), {});
    QCoreApplication::processEvents();
    const auto name = [](const QWidget *w) {
        return w ? QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName() : u"nothing"_s;
    };
    // Nothing is cut off at the right: what does not fit wraps or goes down the page.
    QWidget *page = view->widget();
    const QWidgetList shown = page->findChildren<QWidget *>() << page;
    for (QWidget *w : shown) {
        if (w->isVisible() && !w->isWindow())
            QVERIFY2(w->mapTo(view->viewport(), w->rect().topRight()).x() < view->viewport()->width() &&
                         w->width() >= w->minimumSizeHint().width(),
                     qPrintable(name(w)));
    }

    // From the sidebar, Tab goes down the page control by control (left to right along a row), ends
    // with the panel's buttons and comes back to the sidebar; no stop is a widget that shows no focus.
    QListWidget *sidebar = window.content()->sidebar();
    sidebar->setFocus();
    QWidgetList stops;
    QRect previous;
    for (QTest::keyClick(sidebar, Qt::Key_Tab); QApplication::focusWidget() != sidebar && stops.size() < 200;
         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab)) {
        QWidget *stop = QApplication::focusWidget();
        QVERIFY2(stop && page->isAncestorOf(stop) && stop->isVisible() &&
                     (qobject_cast<QAbstractButton *>(stop) || qobject_cast<QComboBox *>(stop) ||
                      qobject_cast<QLineEdit *>(stop) || qobject_cast<QPlainTextEdit *>(stop)),
                 qPrintable(name(stop)));
        const QRect place(stop->mapTo(page, QPoint()), stop->size());
        QVERIFY2(place.center().y() > previous.bottom() ||
                     (place.center().y() >= previous.top() && place.left() > previous.left()),
                 qPrintable(name(stop) + u" after "_s + name(stops.value(stops.size() - 1))));
        previous = place;
        stops << stop;
    }
    const auto *panel = view->findChild<CommandOutputView *>();
    QCOMPARE(stops.mid(stops.size() - 3),
             (QWidgetList{panel->findChild<QWidget *>(u"copy"_s), panel->findChild<QWidget *>(u"saveToFile"_s),
                          panel->findChild<QWidget *>(u"saveForLater"_s)}));
    // Back to the sidebar from the first control, and between the two with F6.
    stops.first()->setFocus();
    QTest::keyClick(stops.first(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), sidebar);
    QTest::keyClick(sidebar, Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), stops.first());
    stops.last()->setFocus();
    QTest::keyClick(stops.last(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), sidebar);
}

QTEST_MAIN(TestBuilderViews)
#include "tst_builderviews.moc"
