#include "alert.h"

#include <QPushButton>

namespace Alert {

QMessageBox *make(QWidget *parent, QMessageBox::Icon icon, const char *name, const QString &text,
                  const QString &details, const QList<Choice> &choices)
{
    auto *box = new QMessageBox(icon, QStringLiteral("Brindlecap Builder"), text, QMessageBox::NoButton, parent);
    box->setObjectName(QLatin1String(name));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(details);
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

} // namespace Alert
