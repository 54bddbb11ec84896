#pragma once

#include "builders/segmentedpicker.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"
#include "output/commandoutputview.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <memory>

// A layout table lists a form's controls in order, one row each, tagged with the control's field
// name: its label as written, its placeholder (text field) or segments ("|"-separated), and the control
// or label just above it.
namespace LayoutTable {
inline void columns()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("above");
}

inline QTestData &row(const char *name, const char *label, const char *detail, const char *above)
{
    return QTest::newRow(name) << label << detail << above;
}
} // namespace LayoutTable

// One builder form on screen, with a store in its own temporary settings file, and the ways a test
// reads it as the user would: the panel's text, controls by field name, where things are.
template <typename View> class BuilderViewFixture
{
public:
    bool open()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_storage = std::make_unique<SettingsStorage>(m_dir->filePath(QStringLiteral("settings.conf")));
        m_store = std::make_unique<CommandStore>(*m_storage);
        m_view = std::make_unique<View>(*m_store);
        m_view->resize(900, 1000);
        m_view->show();
        return QTest::qWaitForWindowExposed(m_view.get());
    }

    void close()
    {
        m_view.reset();
        m_store.reset();
        m_storage.reset();
        m_dir.reset();
    }

    View *view() const { return m_view.get(); }

    QString panelText() const
    {
        return m_view->template findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->toPlainText();
    }
    QString panelTitle() const { return m_view->output()->title(); }

    template <typename T> T *field(const QString &name) const
    {
        auto *w = m_view->template findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    // The top edge in the form's scrolling content.
    int y(const QWidget *w) const { return w->mapTo(m_view->widget(), QPoint()).y(); }

    // The titled group boxes, in creation order.
    QStringList groupTitles() const
    {
        QStringList titles;
        for (auto *box : m_view->template findChildren<QGroupBox *>()) {
            if (!box->title().isEmpty())
                titles << box->title();
        }
        return titles;
    }

    // The segment of the picker showing text, clicked as the user would.
    void choose(const QString &picker, const QString &text) const
    {
        auto *segmented = field<SegmentedPicker>(picker);
        for (int i = 0; i < segmented->count(); ++i) {
            if (segmented->itemText(i) == text) {
                QTest::mouseClick(segmented->button(i), Qt::LeftButton);
                return;
            }
        }
        qFatal("no segment %s", qPrintable(text));
    }

    void click(const QString &check) const { QTest::mouseClick(field<QCheckBox>(check), Qt::LeftButton); }

    // What the user reads next to a control: its grid label, its checkbox text or the rich label beside
    // it. Inline code comes back between back-quotes, so it compares with the label as written.
    QString visibleLabel(QWidget *control) const
    {
        if (auto *check = qobject_cast<QCheckBox *>(control); check && !check->text().isEmpty())
            return check->text();
        for (auto *label : m_view->template findChildren<QLabel *>()) {
            if (label->buddy() == control)
                return fromInlineCode(label->text());
        }
        return QString();
    }

    static QString fromInlineCode(QString html)
    {
        html.replace(QRegularExpression(QStringLiteral("<code[^>]*>")), QStringLiteral("`"));
        html.replace(QStringLiteral("</code>"), QStringLiteral("`"));
        html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        return html;
    }

    // The characters a rich-text label puts on screen, after markup and white-space rules.
    static QString rendered(const QLabel *label)
    {
        QTextDocument document;
        document.setHtml(label->text());
        return document.toPlainText();
    }

    // A field of a fixed width, beside its label as the grid puts them (12 points apart).
    void checkBesideLabel(const QString &name, int width) const
    {
        auto *edit = field<QLineEdit>(name);
        QCOMPARE(edit->width(), width);
        QLabel *label = nullptr;
        for (auto *candidate : m_view->template findChildren<QLabel *>()) {
            if (candidate->buddy() == edit)
                label = candidate;
        }
        QVERIFY(label);
        const int labelRight = label->mapTo(m_view->widget(), QPoint(label->width(), 0)).x();
        QCOMPARE(edit->mapTo(m_view->widget(), QPoint()).x() - labelRight, 12);
        // The label column is as wide as its widest label: the room left over stays after the fields
        // instead of pushing labels and fields to the right.
        QWidget *grid = label->parentWidget();
        int leftmost = grid->width();
        for (auto *other : grid->template findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            leftmost = qMin(leftmost, other->x());
        QCOMPARE(leftmost, grid->contentsRect().left() + grid->layout()->contentsMargins().left());
    }

    static QStringList segments(SegmentedPicker *picker)
    {
        QStringList texts;
        for (int i = 0; i < picker->count(); ++i)
            texts << picker->itemText(i);
        return texts;
    }

    // Checks the control of the current layout table row (see LayoutTable): below the one above it and above the panel,
    // the text beside it, its accessible name, and its placeholder or segments.
    void checkLayoutRow() const
    {
        QFETCH(QString, label);
        QFETCH(QString, detail);
        QFETCH(QString, above);
        QWidget *control = field<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control->isVisible());
        QVERIFY(y(field<QWidget>(above)) < y(control));
        QVERIFY(y(control) < y(m_view->output()));
        QString plain = label;
        plain.remove(u'`');
        QCOMPARE(control->accessibleName(), plain);
        if (auto *picker = qobject_cast<SegmentedPicker *>(control)) {
            QCOMPARE(segments(picker).join(u'|'), detail);
            return;
        }
        QCOMPARE(visibleLabel(control), label);
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            QCOMPARE(edit->placeholderText(), detail);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<View> m_view;
};
