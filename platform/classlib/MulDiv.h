#pragma once

namespace Win32 {

// a * b / c with a 64-bit intermediate, rounded half away from zero;
// -1 when c is 0 or the result does not fit 32 bits, as Windows does.
int MulDiv(int a, int b, int c);

} // namespace Win32
