// Every builder form, as the user works it, against the core form as the oracle: each field of the
// form's table has its control, and editing the control is the same as setting the field. Then the
// kit's promises across all forms, and the rules that show, hide or enable controls.

#include "app/categoryviewfactory.h"
#include "app/contentview.h"
#include "app/mainwindow.h"
#include "builders/advicemark.h"
#include "builders/bpfbuilderview.h"
#include "builders/filtercheckview.h"
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
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>

namespace {
// Settings made first so that a field's control can be reached: its box shown, or enabled.
QStringList prerequisites(DebugCategory category, const QString &field)
{
    if (category == DebugCategory::routing) {
        if (field == QLatin1String("timestamps") || field == QLatin1String("includeStopBlock"))
            return {u"ospfDebug=true"_s};
        if (field == QLatin1String("bgpNeighborRoutes") || field == QLatin1String("bgpAdvertisedRoutes"))
            return {u"proto=bgp"_s, u"bgpNeighborIP=10.0.0.1"_s};
        if (field.startsWith(QLatin1String("bgp")))
            return {u"proto=bgp"_s};
        if (field.startsWith(QLatin1String("static")))
            return {u"proto=staticR"_s};
    }
    if (category == DebugCategory::sniffer && field == QLatin1String("customFilter"))
        return {u"useCustomFilter=true"_s};
    return {};
}

// A value unlike the field's default: text with spaces around and inside (digits only, so that the
// capture filter made of it sends no name to the resolver), a flag flipped, the last case (or the
// first, when the last is the default).
QString otherValue(const AnyForm::Field &field)
{
    switch (field.kind) {
    case FieldKind::Text:
        return u" 1 2 "_s;
    case FieldKind::MultiLineText:
        return u"1\n2"_s;
    case FieldKind::Flag:
        return field.defaultValue == QLatin1String("true") ? u"false"_s : u"true"_s;
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
        QFAIL(qPrintable(u"no way to edit %1"_s.arg(name)));
    }
}

QString panelText(QWidget *view)
{
    auto *output = view->findChild<CommandOutputView *>();
    auto *text = child<QPlainTextEdit>(output, "commandText");
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

    std::unique_ptr<TestStores> m_stores;
    std::unique_ptr<QWidget> m_view;

    QWidget *open(DebugCategory category)
    {
        m_view.reset(CategoryViewFactory::create(category, m_stores->stores()));
        return showActive(m_view.get(), {1000, 900}) ? m_view.get() : nullptr;
    }

private slots:
    void init() { m_stores = std::make_unique<TestStores>(); }

    void cleanup()
    {
        m_view.reset();
        m_stores.reset();
    }

    void editingAControlSetsItsField_data()
    {
        QTest::addColumn<DebugCategory>("category");
        QTest::addColumn<QString>("field");
        for (DebugCategory category : FormRegistry::builderCategories()) {
            for (const AnyForm::Field &f : FormRegistry::create(category)->fields())
                QTest::addRow("%s %s", qPrintable(Enum::caseName(category)), qPrintable(f.name)) << category << f.name;
        }
    }

    void editingAControlSetsItsField()
    {
        QFETCH(DebugCategory, category);
        QFETCH(QString, field);
        QWidget *view = open(category);
        QVERIFY(view);
        auto expected = FormRegistry::create(category);
        for (const QWidget *control : view->findChildren<QWidget *>())
            QVERIFY2(control->accessibleDescription().isEmpty(), qPrintable(control->objectName())); // no advice
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
        // The field shows the core's advice, to the eye (a line edit) and to a screen reader.
        const QList<FieldAdvice> advice = expected->advice();
        const auto found = std::ranges::find(advice, field, &FieldAdvice::field);
        const QString text = found == advice.end() ? QString() : found->text;
        QWidget *control = view->findChild<QWidget *>(field);
        QCOMPARE(control->accessibleDescription(), text);
        if (qobject_cast<QLineEdit *>(control))
            QCOMPARE(AdviceMark::shown(control).isEmpty(), text.isEmpty());
    }

    // Advice appearing moves nothing: not the field, not its row, not anything below.
    void adviceMovesNothing_data()
    {
        QTest::addColumn<DebugCategory>("category");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("doubtful");
        QTest::newRow("inside") << DebugCategory::session << u"src"_s << u"10.0.0.1"_s << u"10.0.0.256"_s;
        QTest::newRow("beside") << DebugCategory::top << u"delay"_s << u"5"_s << u"x"_s;
    }
    void adviceMovesNothing()
    {
        QFETCH(DebugCategory, category);
        QFETCH(QString, field);
        QFETCH(QString, good);
        QFETCH(QString, doubtful);
        QWidget *view = open(category);
        const auto geometries = [view] {
            QList<QRect> all;
            for (const QWidget *w : view->findChildren<QWidget *>()) {
                if (w->isVisible() && !qobject_cast<const AdviceMark *>(w) &&
                    !qobject_cast<const AdviceMark *>(w->parent()))
                    all << QRect(w->mapTo(view, QPoint()), w->size());
            }
            return all;
        };
        edit(view, field, good, {});
        QCoreApplication::processEvents();
        const QList<QRect> before = geometries();
        edit(view, field, doubtful, {});
        QCoreApplication::processEvents();
        QVERIFY(!AdviceMark::shown(view->findChild<QWidget *>(field)).isEmpty());
        QCOMPARE(geometries(), before);
    }

    void everyBuilderParameterHasItsControl()
    {
        auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
        QVERIFY(sniffer);
        edit(sniffer, u"useCustomFilter"_s, u"true"_s, {});
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
                edit(builder, u"type"_s, types.at(t), types);
                Fields::find(&BPFBuilderForm::type)->set(expected, types.at(t));
            }
            const QString current = f.get(expected);
            const QString value = f.kind == FieldKind::Flag ? QString::fromLatin1(current == u"true" ? "false" : "true")
                                  : f.kind == FieldKind::Enumeration
                                      ? f.choices.at(f.choices.last() == current ? 0 : f.choices.size() - 1)
                                      : u"10.0.0.1"_s;
            edit(builder, f.name, value, f.choices);
            QVERIFY(f.set(expected, value));
            for (const auto &g : BPFBuilderForm::fields())
                QCOMPARE(g.get(builder->form()), g.get(expected));
            QCOMPARE(control->accessibleDescription(), Fields::adviceOn(expected, f));
        }

        // Each type shows exactly the parameters that make a difference to its snippet (the combinator
        // makes one to what is added), with the flags all off or all on.
        for (const QString &type : types) {
            edit(builder, u"type"_s, type, types);
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
                QVERIFY2(builder->findChild<QWidget *>(f.name)->isVisible() == matters,
                         qPrintable(type + u' ' + f.name));
            }
        }
    }

    void routingShowsOneAreaAndNeedsANeighbour()
    {
        QWidget *view = open(DebugCategory::routing);
        QVERIFY(view);
        const QStringList protos = Enum::caseNames<RoutingForm::RouteProto>();
        for (const QString &proto : protos) {
            edit(view, u"proto"_s, proto, protos);
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
        // A click focuses the segment clicked, and Tab then leaves the group: one stop, on the choice.
        auto *picker = child<SegmentedPicker>(view, "proto");
        QTest::mouseClick(picker->button(1), Qt::LeftButton);
        QVERIFY(picker->button(1)->hasFocus());
        QTest::keyClick(picker->button(1), Qt::Key_Tab);
        QVERIFY(!picker->isAncestorOf(QApplication::focusWidget()));
        edit(view, u"proto"_s, u"bgp"_s, protos);
        const auto *routes = child<QCheckBox>(view, "bgpNeighborRoutes");
        QVERIFY(!routes->isEnabled());
        edit(view, u"bgpNeighborIP"_s, u"10.0.0.1"_s, {});
        QVERIFY(routes->isEnabled());
        edit(view, u"bgpNeighborIP"_s, u" \t"_s, {});
        QVERIFY(!routes->isEnabled());

        // Each box's debug options show under its own debug check, and both boxes show the same flags.
        const auto *bgpStop = child<QCheckBox>(view, "includeStopBlockBgp");
        const auto *ospfStop = child<QCheckBox>(view, "includeStopBlock");
        edit(view, u"bgpDebug"_s, u"false"_s, {});
        QVERIFY(!bgpStop->isVisible());
        edit(view, u"bgpDebug"_s, u"true"_s, {});
        edit(view, u"includeStopBlockBgp"_s, bgpStop->isChecked() ? u"false"_s : u"true"_s, {});
        edit(view, u"proto"_s, u"ospf"_s, protos);
        edit(view, u"ospfDebug"_s, u"true"_s, {});
        QCOMPARE(ospfStop->isChecked(), bgpStop->isChecked());
    }

    void topMemTakesNoDelay()
    {
        QWidget *view = open(DebugCategory::top);
        QVERIFY(view);
        const auto *delay = child<QLineEdit>(view, "delay");
        const QStringList variants = fieldNamed(*FormRegistry::create(DebugCategory::top), u"variant"_s).choices;
        auto *picker = child<SegmentedPicker>(view, "variant");
        for (int i = 0; i < picker->count(); ++i) {
            QTest::mouseClick(picker->button(i), Qt::LeftButton);
            QCOMPARE(delay->isEnabled(), variants.at(i) != QLatin1String("topMem"));
            const auto variant = Enum::fromCaseName<SystemTopForm::Variant>(variants.at(i));
            QCOMPARE(child<QLabel>(view, "variantDescription")->text(),
                     Enum::text(Enum::payload(*variant).description));
        }
        // Too narrow for the segments: the same choice as a drop-down.
        view->resize(500, 900);
        QTRY_VERIFY(picker->menu()->isVisible() && !picker->button(0)->isVisible());
        QCOMPARE(picker->menu()->currentText(), picker->itemText(picker->currentIndex()));
        QTest::keyClick(picker->menu(), Qt::Key_Home);
        QVERIFY(picker->button(0)->isChecked() && delay->isEnabled());
    }

    void builderWritesTheFilter()
    {
        auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
        QVERIFY(sniffer);
        // The builder and its filter take the simple rows' place while they are chosen.
        const auto rowsFor = [sniffer](bool custom) {
            for (const char *name : {"proto", "host", "hostMode", "network", "portList", "customFilter"}) {
                if (child(sniffer, name)->isVisible() != (custom == !qstrcmp(name, "customFilter")))
                    return false;
            }
            return bool(sniffer->bpfBuilder()) == custom;
        };
        QVERIFY(rowsFor(false));
        edit(sniffer, u"useCustomFilter"_s, u"true"_s, {});
        QVERIFY(rowsFor(true));
        // A builder starts from its defaults each time.
        edit(sniffer->bpfBuilder(), u"negate"_s, u"true"_s, {});
        edit(sniffer, u"useCustomFilter"_s, u"false"_s, {});
        QVERIFY(rowsFor(false));
        edit(sniffer, u"useCustomFilter"_s, u"true"_s, {});
        QVERIFY(!sniffer->bpfBuilder()->form().negate);

        BPFBuilderView *builder = sniffer->bpfBuilder();
        const auto *filter = child<QPlainTextEdit>(sniffer, "customFilter");
        auto *add = child<QAbstractButton>(builder, "addToFilter");
        auto expected = FormRegistry::create(DebugCategory::sniffer);
        expected->setField(u"useCustomFilter"_s, u"true"_s);
        const auto shows = [&](const QString &text) {
            expected->setField(u"customFilter"_s, text);
            return filter->toPlainText() == text && panelText(sniffer) == expected->generatedCommand();
        };
        // Nothing to add while the snippet is empty.
        QVERIFY(!add->isEnabled());
        BPFBuilderForm form;
        form.type = BPFBuilderForm::SnippetType::port;
        form.portList = u"443"_s;
        edit(builder, u"type"_s, u"port"_s, Enum::caseNames<BPFBuilderForm::SnippetType>());
        edit(builder, u"portList"_s, u"443"_s, {});
        QCOMPARE(child<QLabel>(builder, "snippetPreview")->text(), u"Preview: "_s + form.decoratedSnippet());
        QTest::mouseClick(add, Qt::LeftButton);
        QString text = form.addToFilter(QString());
        QVERIFY(shows(text));
        // The keys, from the field being typed in.
        QTest::keyClick(child<QLineEdit>(builder, "portList"), Qt::Key_Return, Qt::ControlModifier);
        text = form.addToFilter(text);
        QTRY_VERIFY(shows(text)); // a shortcut animates the button's click
        for (BPFBuilderForm::Preset preset : Enum::allCases<BPFBuilderForm::Preset>()) {
            QTest::mouseClick(builder->findChild<QAbstractButton *>(Enum::caseName(preset)), Qt::LeftButton);
            text = form.addPreset(text, preset);
            QVERIFY(shows(text));
        }
        // A preset leaves the filter ready for what is typed next.
        QTest::keyClicks(QApplication::focusWidget(), u" and port 22"_s);
        QVERIFY(shows(text += u" and port 22"_s));
        QTest::mouseClick(child<QAbstractButton>(builder, "clearFilter"), Qt::LeftButton);
        QVERIFY(shows(QString()));
    }

    // The verdict appears under the field it judges and moves nothing below it; it is advice only.
    void snifferChecksItsFilter()
    {
        auto *sniffer = qobject_cast<SnifferView *>(open(DebugCategory::sniffer));
        QVERIFY(sniffer);
        const auto *preview = child(sniffer, "filterPreviewGroup");
        const auto *mark = child(sniffer, "filterCheckMark");
        const auto *check = child<FilterCheckView>(sniffer, "filterCheck");
        const auto top = [sniffer](const char *name) {
            QCoreApplication::processEvents();
            return child(sniffer, name)->mapTo(sniffer, QPoint()).y();
        };
        // Typed while no verdict shows: the verdict must come, right under judged, with nothing below moved.
        const auto typeBad = [&](const char *field, const QString &text, const char *judged) {
            QCOMPARE(mark->property("symbol").toString(), QString());
            const QList<int> below{top("outputGroup"), top("generatedCommand")};
            edit(sniffer, QString::fromLatin1(field), text, {});
            QTRY_COMPARE_WITH_TIMEOUT(mark->property("symbol").toString(), u"xmark.circle"_s, 10000);
            QCOMPARE((QList<int>{top("outputGroup"), top("generatedCommand")}), below);
            const int gap = top("filterCheck") - top(judged) - child(sniffer, judged)->height();
            QVERIFY2(gap >= 0 && gap <= 12, qPrintable(QString::number(gap)));
        };
        // Blank is no filter: the preview says so, no verdict. The verdict's one line is all the room kept.
        edit(sniffer, u"host"_s, u" \t "_s, {});
        QVERIFY(preview->isVisible() && child<QLabel>(sniffer, "filterPreview")->text() == u"none"_s);
        const int belowVerdict = top("outputGroup") - top("filterCheck") - check->height();
        const int belowInterface = top("filterGroup") - top("interface") - child(sniffer, "interface")->height();
        QVERIFY2(std::abs(belowVerdict - belowInterface) <= 8,
                 qPrintable(u"%1 %2"_s.arg(belowVerdict).arg(belowInterface)));

        typeBad("host", u"1'"_s, "portList");
        QCOMPARE(child<QLabel>(sniffer, "filterPreview")->text(), sniffer->form().filterExpression());
        const QStringList warnings = FilterCheck::warningsFor(sniffer->form().filterExpression());
        QVERIFY(!warnings.isEmpty() && check->text().endsWith(warnings.join(u" \u2014 "_s)));

        edit(sniffer, u"useCustomFilter"_s, u"true"_s, {});
        const QString broken = u"tcp port 443 and ("_s;
        typeBad("customFilter", broken, "customFilter");
        const PcapFilter::Result verdict = PcapFilter::compile(broken);
        QVERIFY(!verdict.valid && !verdict.message.isEmpty());
        QVERIFY2(check->text().endsWith(verdict.message), qPrintable(check->text()));
        auto expected = FormRegistry::create(DebugCategory::sniffer);
        expected->setField(u"useCustomFilter"_s, u"true"_s);
        expected->setField(u"customFilter"_s, broken);
        QCOMPARE(panelText(sniffer), expected->generatedCommand());

        // Valid, with a warning on the one line; every line of the field in view, and no scroll bar.
        edit(sniffer, u"customFilter"_s, u"tcp port 443\nand net 10.0.0.0/8\nor arp"_s, {});
        QTRY_COMPARE_WITH_TIMEOUT(mark->property("symbol").toString(), u"exclamationmark.triangle.fill"_s, 10000);
        QCOMPARE(check->text(), (QStringList{FilterCheck::verdict(true, {})} +
                                 FilterCheck::warningsFor(sniffer->form().filterExpression()))
                                    .join(u" \u2014 "_s));
        QVERIFY(!child<QPlainTextEdit>(sniffer, "customFilter")->verticalScrollBar()->isVisible());
    }

    void offloadSnippetCopies()
    {
        QWidget *sniffer = open(DebugCategory::sniffer);
        QVERIFY(sniffer);
        auto *copy = child<CopyButton>(sniffer, "copyOffload");
        auto *panelCopy = sniffer->findChild<CommandOutputView *>()->findChild<CopyButton *>(u"copy"_s);
        const QString idle = copy->text();
        const QString panelIdle = panelCopy->text();
        const int width = copy->width();
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), child<QLabel>(sniffer, "offloadSnippet")->text());
        QVERIFY(copy->text() != idle);
        QCOMPARE(panelCopy->text(), panelIdle); // each button has its own feedback
        QCoreApplication::processEvents();
        QCOMPARE(copy->width(), width); // "Copied" moves nothing beside it
        QTRY_COMPARE_WITH_TIMEOUT(copy->text(), idle, 5000);
        // The warning triangle is filled: solid inside, beside its mark.
        const QImage icon = child<QLabel>(sniffer, "offloadIcon")->pixmap().toImage();
        QCOMPARE(qAlpha(icon.pixel(icon.width() * 3 / 10, icon.height() * 8 / 10)), 255);
    }

    void everyFormAtTheSmallestWindow_data()
    {
        QTest::addColumn<DebugCategory>("category");
        QTest::addColumn<bool>("customFilter");
        for (DebugCategory category : FormRegistry::builderCategories())
            QTest::addRow("%s", qPrintable(Enum::caseName(category))) << category << false;
        QTest::addRow("sniffer with builder") << DebugCategory::sniffer << true;
    }

    // Each form (with the builder, in each of its snippet types) at the main window's smallest size.
    void everyFormAtTheSmallestWindow()
    {
        QFETCH(DebugCategory, category);
        QFETCH(bool, customFilter);
        NavigationState nav;
        nav.setSelectedCategory(category);
        QAction help, quit;
        MainWindow window(m_stores->stores(), nav, &help, &quit);
        QVERIFY(showActive(&window, window.minimumSize()));
        auto *view = qobject_cast<QScrollArea *>(window.content()->detail());
        QWidget *page = view->widget();
        const auto name = [](const QWidget *w) {
            return w ? QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName() : u"nothing"_s;
        };
        const QStringList types = Enum::caseNames<BPFBuilderForm::SnippetType>();
        if (customFilter)
            edit(view, u"useCustomFilter"_s, u"true"_s, {});
        for (const QString &type : customFilter ? types : QStringList{QString()}) {
            if (customFilter)
                edit(view, u"type"_s, type, types);
            QCoreApplication::processEvents();
            QSet<int> gaps, fieldStarts, checkRowHeights;
            const QWidgetList shown = page->findChildren<QWidget *>() << page;
            for (QWidget *w : shown) {
                // Nothing is cut off at the right: what does not fit wraps or goes down the page.
                QVERIFY2(!w->isVisible() ||
                             (w->mapTo(view->viewport(), w->rect().topRight()).x() < view->viewport()->width() &&
                              w->width() >= w->minimumSizeHint().width()),
                         qPrintable(name(w)));
                // An example in a field shows whole.
                auto *line = qobject_cast<QLineEdit *>(w);
                QVERIFY2(!line || !line->isVisible() ||
                             line->fontMetrics().horizontalAdvance(line->placeholderText()) <
                                 line->width() - line->textMargins().right() - 8,
                         qPrintable(name(w)));
                // A label names its control; the grids' fields start at one x, one gap after their labels.
                auto *label = qobject_cast<QLabel *>(w);
                if (label && label->buddy() && label->isVisible() && label->textFormat() == Qt::PlainText &&
                    !label->text().isEmpty()) {
                    // As assistive technology hears it: by the label, not by its value.
                    QCOMPARE(QAccessible::queryAccessibleInterface(label->buddy())->text(QAccessible::Name),
                             label->text());
                    const QRect l(label->mapTo(page, QPoint()), label->size());
                    const QRect b(label->buddy()->mapTo(page, QPoint()), label->buddy()->size());
                    if (!customFilter && l.top() < b.bottom() &&
                        b.top() < l.bottom()) // on one line, outside the builder
                        gaps << b.left() - l.right();
                    auto *grid = qobject_cast<FormGrid *>(label->parentWidget());
                    if (grid && grid->labelFor(label->buddy()) == label)
                        fieldStarts << b.left();
                }
                // A segment reads as one choice of its group, which reads as its label.
                if (auto *segments = qobject_cast<SegmentedPicker *>(w)) {
                    QCOMPARE(QAccessible::queryAccessibleInterface(segments)->text(QAccessible::Name),
                             segments->accessibleName());
                    for (int i = 0; i < segments->count(); ++i) {
                        QAccessibleInterface *segment = QAccessible::queryAccessibleInterface(segments->button(i));
                        QVERIFY(segment->role() == QAccessible::RadioButton &&
                                segment->text(QAccessible::Name) == segments->itemText(i) &&
                                segment->state().checked == (i == segments->currentIndex()));
                    }
                }
                // A checkbox reads as its text, inline code or not, and its rows are of one height.
                if (auto *check = qobject_cast<QCheckBox *>(w)) {
                    const auto *rich = child<QLabel>(view, qPrintable(check->objectName() + u"Label"_s));
                    QCOMPARE(check->accessibleName(),
                             rich ? rich->text().remove(QRegularExpression(u"<[^>]*>"_s)).replace(u"&amp;"_s, u"&"_s)
                                  : check->text());
                    if (check->parentWidget()->property("checkRow").toBool() && check->isVisible())
                        checkRowHeights << check->parentWidget()->height();
                }
            }
            QVERIFY2(gaps.size() <= 1 && fieldStarts.size() <= 1 && checkRowHeights.size() <= 1, qPrintable(type));
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
                 (QWidgetList{child(panel, "copy"), child(panel, "saveToFile"), child(panel, "saveForLater")}));
        // Back to the sidebar from the first control, and between the two with F6.
        stops.first()->setFocus();
        QTest::keyClick(stops.first(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), sidebar);
        QTest::keyClick(sidebar, Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), stops.first());
        stops.last()->setFocus();
        QTest::keyClick(stops.last(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), sidebar);

        // The scroll bar coming and going leaves the rows as wide as they were.
        const int width = page->width();
        window.resize(window.width(), 5000);
        QTRY_VERIFY(!view->verticalScrollBar()->isVisible());
        QCOMPARE(page->width(), width);
    }
};

QTEST_MAIN(TestBuilderViews)
#include "tst_builderviews.moc"
