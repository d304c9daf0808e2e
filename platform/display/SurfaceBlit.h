// The pixel work of DirectDraw's Blt on surfaces in memory: colour fill, copies with
// and without a source colour key, nearest-pixel stretching and rotation. Rectangles
// are right/bottom exclusive and already checked against both surfaces.
#pragma once

#include "platform/PixelView.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <optional>

namespace Win32 {

// The source pixel value that is not drawn, if any.
using TSourceKey = std::optional<uint32_t>;

void FillPixels(const TPixelView& target, const RECT& rect, uint32_t value);

// Copies source rectangle onto target at (x, y). Source and target may be the same
// pixels with overlapping rectangles (scrolling): the result is as if the source had
// been read whole before anything was written.
void CopyPixels(const TPixelView& target, int32_t x, int32_t y, const TPixelView& source,
                const RECT& sourceRect, const TSourceKey& key);

// Maps the source rectangle onto the target rectangle, taking for each target pixel the
// source pixel under its centre; only target pixels inside clip are written. Mirrored
// takes the source's columns right to left.
void StretchPixels(const TPixelView& target, const RECT& targetRect, const RECT& clip,
                   const TPixelView& source, const RECT& sourceRect, const TSourceKey& key,
                   bool mirrored = false);

// As StretchPixels, then turned about the target rectangle's centre by angle (hundredths
// of a degree, clockwise on screen as y grows downward; negative turns the other way).
// The turned image may reach beyond the target rectangle; only pixels inside clip are written.
void RotatePixels(const TPixelView& target, const RECT& targetRect, const RECT& clip,
                  const TPixelView& source, const RECT& sourceRect, int32_t angle,
                  const TSourceKey& key);

} // namespace Win32
