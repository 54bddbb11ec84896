#include "alert.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

namespace Alert {

QMessageBox *make(QWidget *parent, QMessageBox::Icon icon, const char *name, const QString &text,
                  const QString &details, const QList<Choice> &choices)
{
    auto *box = new QMessageBox(icon, QStringLiteral("Brindlecap Builder"), text, QMessageBox::NoButton, parent);
    box->setObjectName(QLatin1String(name));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(details);
    // Each text wide enough for its longest word, a path most often, so that none is broken within (up to
    // most of the screen).
    const int room = box->screen() ? box->screen()->availableGeometry().width() * 3 / 4 : 1000;
    for (auto *label : box->findChildren<QLabel *>()) {
        int widest = 0;
        for (const QString &word : label->text().split(QRegularExpression(QStringLiteral("\\s+"))))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(word));
        if (widest > 0)
            label->setMinimumWidth(std::min(widest + label->margin() * 2 + 4, room));
    }
    for (const Choice &choice : choices) {
        QPushButton *button = choice.standard != QMessageBox::NoButton ? box->addButton(choice.standard)
                                                                       : box->addButton(choice.text, choice.role);
        if (choice.name)
            button->setObjectName(QLatin1String(choice.name));
        if (choice.chosen)
            QObject::connect(button, &QPushButton::clicked, box, choice.chosen);
        if (choice.isDefault)
            box->setDefaultButton(button);
    }
    return box;
}

QMessageBox *open(QWidget *parent, QMessageBox::Icon icon, const char *name, const QString &text,
                  const QString &details, const QList<Choice> &choices)
{
    QMessageBox *box = make(parent, icon, name, text, details, choices);
    box->open();
    return box;
}

QMessageBox *askToSave(QWidget *parent, const char *name, const QString &text, std::function<void()> save,
                       std::function<void()> discard, std::function<void()> then)
{
    const auto andThen = [then](std::function<void()> first) {
        return [first = std::move(first), then] {
            first();
            then();
        };
    };
    return open(parent, QMessageBox::Warning, name, text, {},
                {{QMessageBox::Save, {}, {}, nullptr, andThen(std::move(save)), true},
                 {QMessageBox::Discard, {}, {}, nullptr, andThen(std::move(discard))},
                 {QMessageBox::Cancel}});
}

} // namespace Alert
