#pragma once

#include "builders/sessionform.h"
#include "builderview.h"

class SessionView : public FormView<SessionForm>
{
    Q_OBJECT

public:
    using SessionProto = SessionForm::SessionProto;

    explicit SessionView(CommandStore &store, QWidget *parent = nullptr);
};

template <> struct ViewOf<SessionForm> {
    using type = SessionView;
};
