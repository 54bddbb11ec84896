#pragma once

#include "builders/haform.h"
#include "builderview.h"

class HAView : public FormView<HAForm>
{
    Q_OBJECT

public:
    explicit HAView(CommandStore &store, QWidget *parent = nullptr);
};

template <> struct ViewOf<HAForm> {
    using type = HAView;
};
