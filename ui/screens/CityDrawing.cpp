// The town window's drawing: the backdrop, the caption, the merchant's frame, the
// portrait cells and the unit being dragged; the sprites it holds while a town is open.
#include "ui/screens/CityWindow.h"

namespace Main {

void TCityWindow::Draw(Win32::IDirectDrawSurface7*, const Win32::RECT&) {}
void TCityWindow::DrawCell(int, int, int, const Win32::RECT&, Win32::IDirectDrawSurface7*) {}
void TCityWindow::AcquireSprites() {}
void TCityWindow::ReleaseSprites() {}

} // namespace Main
