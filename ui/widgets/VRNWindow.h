// The window base of every game screen: a toolkit window drawn as a group (its own
// OnDraw first, then its children).
#pragma once

#include "engine/widgets/DXWindow.h"

namespace Main {

class TVRNWindow : public DXWin::TDXWindow {
public:
    using DXWin::TDXWindow::TDXWindow;
};

} // namespace Main
