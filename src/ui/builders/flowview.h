#pragma once

#include "builders/flowform.h"
#include "builderview.h"

class FlowView : public FormView<FlowForm>
{
    Q_OBJECT

public:
    explicit FlowView(CommandStore &store, QWidget *parent = nullptr);

signals:
    // The user wants to read back what the command printed.
    void readOutputRequested();
};

template <> struct ViewOf<FlowForm> {
    using type = FlowView;
};
