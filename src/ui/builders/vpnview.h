#pragma once

#include "builders/vpnform.h"
#include "builderview.h"

class VPNView : public FormView<VPNForm>
{
    Q_OBJECT

public:
    explicit VPNView(CommandStore &store, QWidget *parent = nullptr);
};

template <> struct ViewOf<VPNForm> {
    using type = VPNView;
};
