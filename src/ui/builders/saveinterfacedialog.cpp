#include "saveinterfacedialog.h"

#include "singlelineedit.h"
#include "text.h"

#include <QPushButton>
#include <QVBoxLayout>

SaveInterfaceDialog::SaveInterfaceDialog(const QString &name, QWidget *parent)
    : SheetDialog(QStringLiteral("Save Custom Interface"), 380, parent)
    , m_name(new SingleLineEdit(this))
    , m_save(nullptr)
{
    setObjectName(QStringLiteral("saveInterfaceDialog"));
    addNote(QStringLiteral("Enter the exact name as it appears on the FortiGate (e.g. `vlan100`, `guest-wifi`, "
                           "`port1.20`)."));

    m_name->setObjectName(QStringLiteral("interfaceName"));
    m_name->setPlaceholderText(QStringLiteral("Interface name"));
    m_name->setAccessibleName(QStringLiteral("Interface name"));
    m_name->setText(name);
    column()->addWidget(m_name);

    m_save = addButtons(QStringLiteral("Save"));
    m_save->setObjectName(QStringLiteral("save"));
    const auto updateSave = [this] { m_save->setEnabled(Text::isNonBlank(m_name->text())); };
    connect(m_name, &QLineEdit::textChanged, this, updateSave);
    updateSave();
    // Return in the field saves even while the button is disabled; a blank name then just closes the
    // sheet. Once closed, the default button is hidden and the same key press cannot save twice.
    connect(m_name, &QLineEdit::returnPressed, this, &QDialog::accept);
    m_name->setFocus();
}

QString SaveInterfaceDialog::name() const
{
    return m_name->text();
}
