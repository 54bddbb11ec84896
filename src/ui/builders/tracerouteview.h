#pragma once

#include "builders/tracerouteform.h"
#include "builderview.h"

class TracerouteView : public FormView<TracerouteForm>
{
    Q_OBJECT

public:
    explicit TracerouteView(CommandStore &store, QWidget *parent = nullptr);
};

template <> struct ViewOf<TracerouteForm> {
    using type = TracerouteView;
};
