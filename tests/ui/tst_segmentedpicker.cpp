#include "builders/segmentedpicker.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

namespace {
enum class Joiner { andOp, orOp, notOp };
} // namespace

template <> struct EnumTraits<Joiner> {
    static constexpr std::array cases = {
        EnumCase<Joiner>{Joiner::andOp, "andOp", "AND"},
        EnumCase<Joiner>{Joiner::orOp, "orOp", "OR"},
        EnumCase<Joiner>{Joiner::notOp, "notOp", "AND NOT"},
    };
};

class TestSegmentedPicker : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_picker.reset(); }
    void showsRawValuesInCaseOrder();
    void choosing_data();
    void choosing();
    void choosingTheCurrentSegmentChangesNothing();
    void arrowKeysMoveTheChoice();
    void fixedWidthIsShared();
    void unknownIndexIsIgnored();

private:
    Joiner m_field = Joiner::orOp;
    int m_changes = 0;
    std::unique_ptr<SegmentedPicker> m_picker;
};

void TestSegmentedPicker::init()
{
    m_field = Joiner::orOp;
    m_changes = 0;
    m_picker.reset(SegmentedPicker::create(QStringLiteral("combinator"), QStringLiteral("Combine with"), m_field,
                                           [this] { ++m_changes; }));
    m_picker->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_picker.get()));
}

void TestSegmentedPicker::showsRawValuesInCaseOrder()
{
    QCOMPARE(m_picker->objectName(), QStringLiteral("combinator"));
    QCOMPARE(m_picker->accessibleName(), QStringLiteral("Combine with"));
    QCOMPARE(m_picker->count(), 3);
    QStringList texts;
    for (int i = 0; i < m_picker->count(); ++i) {
        texts << m_picker->itemText(i);
        QCOMPARE(m_picker->button(i)->text(), m_picker->itemText(i));
        QVERIFY(m_picker->button(i)->isCheckable());
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("AND NOT")}));
    // The field's value is the one shown chosen, left to right in a row.
    QCOMPARE(m_picker->currentIndex(), 1);
    QVERIFY(m_picker->button(1)->isChecked());
    QVERIFY(!m_picker->button(0)->isChecked() && !m_picker->button(2)->isChecked());
    QVERIFY(m_picker->button(0)->x() < m_picker->button(1)->x());
    QCOMPARE(m_picker->button(0)->y(), m_picker->button(2)->y());
    QCOMPARE(m_changes, 0);
}

void TestSegmentedPicker::choosing_data()
{
    QTest::addColumn<int>("segment");
    QTest::addColumn<Joiner>("expected");
    QTest::newRow("first") << 0 << Joiner::andOp;
    QTest::newRow("last") << 2 << Joiner::notOp;
}

void TestSegmentedPicker::choosing()
{
    QFETCH(int, segment);
    QFETCH(Joiner, expected);
    QSignalSpy changed(m_picker.get(), &SegmentedPicker::currentIndexChanged);
    QTest::mouseClick(m_picker->button(segment), Qt::LeftButton);
    QCOMPARE(m_field, expected);
    QCOMPARE(m_changes, 1);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toInt(), segment);
    QCOMPARE(m_picker->currentIndex(), segment);
    // Exclusive: exactly one segment is on.
    int checked = 0;
    for (int i = 0; i < m_picker->count(); ++i)
        checked += m_picker->button(i)->isChecked();
    QCOMPARE(checked, 1);

    // Set by code, it writes the field just the same.
    m_picker->setCurrentIndex(1);
    QCOMPARE(m_field, Joiner::orOp);
    QCOMPARE(m_changes, 2);
}

void TestSegmentedPicker::choosingTheCurrentSegmentChangesNothing()
{
    QTest::mouseClick(m_picker->button(1), Qt::LeftButton);
    QVERIFY(m_picker->button(1)->isChecked());
    QCOMPARE(m_field, Joiner::orOp);
    QCOMPARE(m_changes, 0);
}

void TestSegmentedPicker::arrowKeysMoveTheChoice()
{
    QApplication::setActiveWindow(m_picker.get());
    m_picker->button(1)->setFocus();
    QTest::keyClick(m_picker->button(1), Qt::Key_Right);
    QCOMPARE(m_field, Joiner::notOp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(m_field, Joiner::andOp);
    QCOMPARE(m_changes, 3);
}

void TestSegmentedPicker::fixedWidthIsShared()
{
    m_picker->setFixedWidth(160);
    m_picker->adjustSize();
    QApplication::processEvents();
    int total = 0;
    for (int i = 0; i < m_picker->count(); ++i)
        total += m_picker->button(i)->width();
    QCOMPARE(total, 160);
    QVERIFY(m_picker->button(2)->geometry().right() < 160);
}

void TestSegmentedPicker::unknownIndexIsIgnored()
{
    m_picker->setCurrentIndex(7);
    m_picker->setCurrentIndex(-1);
    QCOMPARE(m_picker->currentIndex(), 1);
    QCOMPARE(m_field, Joiner::orOp);
    QCOMPARE(m_changes, 0);
    QCOMPARE(m_picker->itemText(3), QString());
}

QTEST_MAIN(TestSegmentedPicker)
#include "tst_segmentedpicker.moc"
