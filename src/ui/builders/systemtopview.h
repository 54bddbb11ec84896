#pragma once

#include "builders/systemtopform.h"
#include "builderview.h"

class QLabel;

class SystemTopView : public FormView<SystemTopForm>
{
    Q_OBJECT

public:
    explicit SystemTopView(CommandStore &store, QWidget *parent = nullptr);

protected:
    void formChanged() override;

private:
    QLabel *m_description = nullptr;
    QWidget *m_delay = nullptr; // the refresh delay field
};

template <> struct ViewOf<SystemTopForm> {
    using type = SystemTopView;
};
