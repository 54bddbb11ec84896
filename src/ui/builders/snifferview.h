#pragma once

#include "builders/snifferform.h"
#include "builderview.h"

class BPFBuilderView;
class FilterCheckView;
class FormColumn;
class InterfacePresetsMenu;
class InterfaceStore;
class MultiLineEdit;
class QLabel;
class QLineEdit;

class SnifferView : public FormView<SnifferForm>
{
    Q_OBJECT

public:
    using VerboseLevel = SnifferForm::VerboseLevel;

    SnifferView(CommandStore &store, InterfaceStore &interfaces, QWidget *parent = nullptr);

    InterfaceStore &interfaceStore() const { return m_interfaces; }
    InterfacePresetsMenu *presetsMenu() const { return m_presetsMenu; }
    // The builder while the custom filter is in use, else null.
    BPFBuilderView *bpfBuilder() const { return m_bpf; }

    // The two sheets, opened window-modal over the form (or over parent when given).
    void openSaveInterfaceSheet(const QString &name, QWidget *parent = nullptr);
    void openManageInterfacesSheet();

signals:
    // The user wants to read back what the command printed.
    void readOutputRequested();

protected:
    void formChanged() override;

private:
    void addInterfaceGroup();
    void addFilterGroup();
    void addOutputGroup();
    void addPreviewGroup();
    // The builder rewrote the custom filter: show it in the field.
    void customFilterWritten(bool typeOn);

    InterfaceStore &m_interfaces;
    QLineEdit *m_interface = nullptr;
    InterfacePresetsMenu *m_presetsMenu = nullptr;
    FormGrid *m_filter = nullptr;
    MultiLineEdit *m_customFilter = nullptr;
    QWidgetList m_simpleRows;
    // Where the builder goes while the custom filter is in use; each builder is made anew.
    QWidget *m_bpfPlace = nullptr;
    BPFBuilderView *m_bpf = nullptr;
    FormColumn *m_previewGroup = nullptr;
    QLabel *m_preview = nullptr;
    FilterCheckView *m_check = nullptr;
};

template <> struct ViewOf<SnifferForm> {
    using type = SnifferView;
};
