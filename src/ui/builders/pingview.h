#pragma once

#include "builders/pingform.h"
#include "builderview.h"

class PingView : public FormView<PingForm>
{
    Q_OBJECT

public:
    explicit PingView(CommandStore &store, QWidget *parent = nullptr);
};

template <> struct ViewOf<PingForm> {
    using type = PingView;
};
