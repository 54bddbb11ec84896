#pragma once

// What the form-view tests share: a view built through the category factory, as the main window
// builds it, with its own temporary settings file; and checks that read the form as the user reads it.

#include "app/categoryviewfactory.h"
#include "builders/builderview.h"
#include "common/style.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"
#include "output/commandoutputview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <memory>

template <typename View> class FormViewFixture
{
public:
    // Call from init(); QVERIFY returns from here on failure, so the caller checks view() afterwards.
    void setUp(DebugCategory category)
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_storage = std::make_unique<SettingsStorage>(m_dir->filePath(QStringLiteral("settings.conf")));
        m_store = std::make_unique<CommandStore>(*m_storage);
        m_widget.reset(CategoryViewFactory::create(category, *m_store));
        m_view = qobject_cast<View *>(m_widget.get());
        QVERIFY2(m_view, "the category factory does not build this view");
        m_view->resize(800, 1000);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }
    void tearDown()
    {
        m_view = nullptr;
        m_widget.reset();
        m_store.reset();
        m_storage.reset();
    }

    View *view() const { return m_view; }
    QString panelText() const
    {
        return m_view->template findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->toPlainText();
    }
    QString panelTitle() const { return m_view->output()->title(); }
    template <typename T> T *field(const char *name) const
    {
        auto *w = m_view->template findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no field %s", name);
        return w;
    }

    // Erases a line edit the way a user does: select everything, then Backspace.
    void erase(const char *name) const
    {
        auto *edit = field<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
    }

    // Opens the picker's pop-up and clicks the entry.
    void choose(const char *name, const QString &entry) const
    {
        auto *combo = field<QComboBox>(name);
        const int index = combo->findText(entry);
        QVERIFY2(index >= 0, qPrintable(entry));
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        const QRect rect = list->visualRect(list->model()->index(index, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTRY_VERIFY(!list->window()->isVisible());
        QCOMPARE(combo->currentText(), entry);
    }

    void click(const char *name) const { QTest::mouseClick(field<QCheckBox>(name), Qt::LeftButton); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<QWidget> m_widget;
    View *m_view = nullptr;
};

namespace FormLayout {

// One control of the form as the user sees it: its group box, its label as written (back-quoted
// words are shown as code) and, for a text field its placeholder, for a picker its entries joined by "|".
struct Row {
    const char *name;
    QString group;
    QString label;
    QString detail;
};

inline QString plainText(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

inline QString groupOf(QWidget *control)
{
    for (QWidget *w = control->parentWidget(); w; w = w->parentWidget()) {
        if (auto *box = qobject_cast<QGroupBox *>(w))
            return box->title();
    }
    return {};
}

inline QLabel *buddyLabel(QWidget *view, QWidget *control)
{
    for (auto *label : view->findChildren<QLabel *>()) {
        if (label->buddy() == control)
            return label;
    }
    return nullptr;
}

inline int top(QWidget *view, QWidget *w)
{
    return w->mapTo(view, QPoint()).y();
}

inline void addColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("detail");
}

inline void addRows(const QList<Row> &rows)
{
    addColumns();
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.group << row.label << row.detail;
}

// Back-quoted words must be shown as code, and the text read without its quotes.
inline void checkInlineCode(QLabel *label, const QString &written)
{
    QCOMPARE(label->textFormat(), Qt::RichText);
    QCOMPARE(plainText(label->text()), Style::withoutBackQuotes(written));
    const QStringList parts = written.split(u'`');
    for (qsizetype i = 1; i + 1 < parts.size(); i += 2)
        QVERIFY2(label->text().contains(QStringLiteral(">%1</code>").arg(parts.at(i).toHtmlEscaped())),
                 qPrintable(label->text()));
}

// Checks the current row of an addRows() table against the control named in it.
inline void checkRow(QWidget *view)
{
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QString, label);
    QFETCH(QString, detail);
    auto *control = view->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->isVisible());
    QCOMPARE(groupOf(control), group);
    QCOMPARE(control->accessibleName(), Style::withoutBackQuotes(label));

    if (auto *check = qobject_cast<QCheckBox *>(control)) {
        QVERIFY(detail.isEmpty());
        if (label.contains(u'`')) {
            auto *text = view->findChild<QLabel *>(name + QStringLiteral("Label"));
            QVERIFY(text && text->isVisible());
            checkInlineCode(text, label);
        } else {
            QCOMPARE(check->text(), label);
        }
        return;
    }

    QLabel *text = buddyLabel(view, control);
    QVERIFY(text && text->isVisible());
    QCOMPARE(text->text(), label);
    // Right-aligned against the control, 12 points apart.
    QCOMPARE(control->x() - (text->x() + text->width()), 12);
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        QCOMPARE(entries.join(u'|'), detail);
        QCOMPARE(combo->width(), 160);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(edit->placeholderText(), detail);
    } else {
        QFAIL("unexpected control");
    }
}

// The controls stand top to bottom in the order of the table, and the panel comes last.
inline void checkOrder(BuilderView *view, const QList<Row> &rows)
{
    QWidget *content = view->widget();
    int previous = -1;
    for (const Row &row : rows) {
        auto *control = view->findChild<QWidget *>(QString::fromLatin1(row.name));
        QVERIFY2(control, row.name);
        const int y = top(content, control);
        QVERIFY2(y > previous, row.name);
        previous = y;
    }
    QVERIFY(top(content, view->output()) > previous);
}

// Checkbox rows whose label shows code stand like the others: same height, text at the same x.
inline void checkCheckRowsAlike(BuilderView *view)
{
    QWidget *content = view->widget();
    QSet<int> heights;
    QSet<int> textStarts;
    for (auto *check : view->findChildren<QCheckBox *>()) {
        QWidget *row = check->parentWidget();
        if (!row->property("checkRow").toBool())
            continue;
        heights << row->height();
        if (auto *label = row->findChild<QLabel *>()) {
            textStarts << label->mapTo(content, QPoint()).x();
        } else {
            QStyleOptionButton option;
            option.initFrom(check);
            option.text = check->text();
            const QRect text = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
            textStarts << check->mapTo(content, text.topLeft()).x();
        }
    }
    QVERIFY(!heights.isEmpty());
    QCOMPARE(heights.size(), 1);
    QCOMPARE(textStarts.size(), 1);
}

// The header, then the group boxes from top to bottom, the Generated Command panel last.
inline void checkBlocks(BuilderView *view, const QString &title, const QString &description, const QStringList &groups)
{
    QWidget *content = view->widget();
    auto *heading = view->findChild<QLabel *>(QStringLiteral("formTitle"));
    QVERIFY(heading);
    QCOMPARE(heading->text(), title);
    QVERIFY(heading->font().bold());
    auto *text = view->findChild<QLabel *>(QStringLiteral("formDescription"));
    QVERIFY(text);
    checkInlineCode(text, description);
    QVERIFY(top(content, heading) < top(content, text));

    QList<QGroupBox *> boxes = view->findChildren<QGroupBox *>();
    std::sort(boxes.begin(), boxes.end(),
              [content](QGroupBox *a, QGroupBox *b) { return top(content, a) < top(content, b); });
    QStringList titles;
    for (QGroupBox *box : boxes)
        titles << box->title();
    QCOMPARE(titles, groups + QStringList{QStringLiteral("Generated Command")});
    QVERIFY(top(content, text) < top(content, boxes.first()));
}

} // namespace FormLayout
