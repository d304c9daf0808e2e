#include "platform/display/SurfaceBlit.h"

#include "platform/display/PixelLayout.h"
#include "platform/display/PixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace Win32 {

namespace {

// A private copy of a rectangle, for operations whose source and target are the same pixels.
struct TPixelCopy {
    std::vector<uint8_t> Pixels;
    TPixelView View;
    RECT Rect;

    TPixelCopy(const TPixelView& source, const RECT& rect) {
        const int32_t width = rect.right - rect.left;
        const int32_t height = rect.bottom - rect.top;
        View = {nullptr, width * source.BytesPerPixel, width, height, source.BytesPerPixel};
        Pixels.resize(size_t(View.Pitch) * size_t(height));
        View.Bits = Pixels.data();
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(View.At(0, y), source.At(rect.left, rect.top + y), size_t(View.Pitch));
        Rect = {0, 0, width, height};
    }
};

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void CopyRowKeyed(const uint8_t* source, uint8_t* target, int count, int bytes, uint32_t key) {
    if (bytes == 2) {
        CopyRowKeyed16(reinterpret_cast<const uint16_t*>(source),
                       reinterpret_cast<uint16_t*>(target), count, static_cast<uint16_t>(key));
    } else if (bytes == 4) {
        CopyRowKeyed32(reinterpret_cast<const uint32_t*>(source),
                       reinterpret_cast<uint32_t*>(target), count, key);
    } else {
        CopyRowKeyed24(source, target, count, key);
    }
}

template <int Bytes, bool Keyed>
void StretchRows(const TPixelView& target, int32_t x0, int32_t y0, int32_t y1,
                 const std::vector<int32_t>& columns, const TPixelView& source,
                 const RECT& targetRect, const RECT& sourceRect, uint32_t key) {
    const int64_t targetHeight = targetRect.bottom - targetRect.top;
    const int64_t sourceHeight = sourceRect.bottom - sourceRect.top;
    const auto count = static_cast<int32_t>(columns.size());
    for (int32_t y = y0; y < y1; ++y) {
        const int64_t dy = y - targetRect.top;
        const auto sy =
            static_cast<int32_t>(sourceRect.top + (2 * dy + 1) * sourceHeight / (2 * targetHeight));
        const uint8_t* sourceRow = source.At(0, sy);
        uint8_t* targetRow = target.At(x0, y);
        for (int32_t i = 0; i < count; ++i) {
            const uint32_t pixel = LoadPixel(sourceRow + columns[i] * Bytes, Bytes);
            if (!Keyed || pixel != key)
                StorePixel(targetRow + i * Bytes, Bytes, pixel);
        }
    }
}

} // namespace

void FillPixels(const TPixelView& target, const RECT& rect, uint32_t value) {
    const int32_t width = rect.right - rect.left;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        uint8_t* row = target.At(rect.left, y);
        switch (target.BytesPerPixel) {
        case 2:
            std::fill_n(reinterpret_cast<uint16_t*>(row), width, static_cast<uint16_t>(value));
            break;
        case 4:
            std::fill_n(reinterpret_cast<uint32_t*>(row), width, value);
            break;
        default:
            for (int32_t x = 0; x < width; ++x)
                Store24(row + 3 * x, value);
        }
    }
}

void CopyPixels(const TPixelView& target, int32_t x, int32_t y, const TPixelView& source,
                const RECT& sourceRect, const TSourceKey& key) {
    const int32_t width = sourceRect.right - sourceRect.left;
    const int32_t height = sourceRect.bottom - sourceRect.top;
    const int bytes = target.BytesPerPixel;
    const bool samePixels = source.Bits == target.Bits;
    if (key) {
        const RECT targetRect{x, y, x + width, y + height};
        if (samePixels && Overlap(sourceRect, targetRect)) {
            const TPixelCopy copy(source, sourceRect);
            CopyPixels(target, x, y, copy.View, copy.Rect, key);
            return;
        }
        for (int32_t row = 0; row < height; ++row)
            CopyRowKeyed(source.At(sourceRect.left, sourceRect.top + row), target.At(x, y + row),
                         width, bytes, *key);
        return;
    }
    const auto rowBytes = size_t(width) * size_t(bytes);
    if (source.Pitch == target.Pitch && size_t(source.Pitch) == rowBytes) {
        std::memmove(target.At(x, y), source.At(sourceRect.left, sourceRect.top),
                     rowBytes * size_t(height));
        return;
    }
    // Moving down within the same pixels: copy the bottom row first so no row is overwritten
    // before it is read.
    if (samePixels && y > sourceRect.top) {
        for (int32_t row = height - 1; row >= 0; --row)
            std::memmove(target.At(x, y + row), source.At(sourceRect.left, sourceRect.top + row),
                         rowBytes);
        return;
    }
    for (int32_t row = 0; row < height; ++row)
        std::memmove(target.At(x, y + row), source.At(sourceRect.left, sourceRect.top + row),
                     rowBytes);
}

void StretchPixels(const TPixelView& target, const RECT& targetRect, const RECT& clip,
                   const TPixelView& source, const RECT& sourceRect, const TSourceKey& key,
                   bool mirrored) {
    const int32_t x0 = std::max(targetRect.left, clip.left);
    const int32_t x1 = std::min(targetRect.right, clip.right);
    const int32_t y0 = std::max(targetRect.top, clip.top);
    const int32_t y1 = std::min(targetRect.bottom, clip.bottom);
    if (x0 >= x1 || y0 >= y1)
        return;
    if (source.Bits == target.Bits) {
        const TPixelCopy copy(source, sourceRect);
        StretchPixels(target, targetRect, clip, copy.View, copy.Rect, key, mirrored);
        return;
    }
    const int64_t targetWidth = targetRect.right - targetRect.left;
    const int64_t sourceWidth = sourceRect.right - sourceRect.left;
    std::vector<int32_t> columns(size_t(x1 - x0));
    for (int32_t x = x0; x < x1; ++x) {
        const int64_t dx = x - targetRect.left;
        const auto column = static_cast<int32_t>((2 * dx + 1) * sourceWidth / (2 * targetWidth));
        columns[size_t(x - x0)] =
            mirrored ? sourceRect.right - 1 - column : sourceRect.left + column;
    }
    const uint32_t k = key.value_or(0);
    switch (target.BytesPerPixel * 2 + (key ? 1 : 0)) {
    case 4:
        return StretchRows<2, false>(target, x0, y0, y1, columns, source, targetRect, sourceRect,
                                     k);
    case 5:
        return StretchRows<2, true>(target, x0, y0, y1, columns, source, targetRect, sourceRect, k);
    case 6:
        return StretchRows<3, false>(target, x0, y0, y1, columns, source, targetRect, sourceRect,
                                     k);
    case 7:
        return StretchRows<3, true>(target, x0, y0, y1, columns, source, targetRect, sourceRect, k);
    case 8:
        return StretchRows<4, false>(target, x0, y0, y1, columns, source, targetRect, sourceRect,
                                     k);
    default:
        return StretchRows<4, true>(target, x0, y0, y1, columns, source, targetRect, sourceRect, k);
    }
}

void RotatePixels(const TPixelView& target, const RECT& targetRect, const RECT& clip,
                  const TPixelView& source, const RECT& sourceRect, int32_t angle,
                  const TSourceKey& key) {
    angle = (angle % 36000 + 36000) % 36000;
    if (angle == 0)
        return StretchPixels(target, targetRect, clip, source, sourceRect, key);
    if (source.Bits == target.Bits) {
        const TPixelCopy copy(source, sourceRect);
        return RotatePixels(target, targetRect, clip, copy.View, copy.Rect, angle, key);
    }
    // Quarter turns use exact factors so that pixel centres on the sampling grid land
    // the same way every time.
    double c, s;
    switch (angle) {
    case 9000:
        c = 0, s = 1;
        break;
    case 18000:
        c = -1, s = 0;
        break;
    case 27000:
        c = 0, s = -1;
        break;
    default: {
        const double theta = angle * std::numbers::pi / 18000.0;
        c = std::cos(theta);
        s = std::sin(theta);
    }
    }
    const double width = targetRect.right - targetRect.left;
    const double height = targetRect.bottom - targetRect.top;
    const double cx = (targetRect.left + targetRect.right) / 2.0;
    const double cy = (targetRect.top + targetRect.bottom) / 2.0;
    const double sourceWidth = sourceRect.right - sourceRect.left;
    const double sourceHeight = sourceRect.bottom - sourceRect.top;
    // Bounds of the turned rectangle: |a cos| + |b sin| from the centre.
    const double reachX = std::abs(width / 2 * c) + std::abs(height / 2 * s);
    const double reachY = std::abs(width / 2 * s) + std::abs(height / 2 * c);
    const auto x0 = static_cast<int32_t>(std::max<double>(clip.left, std::floor(cx - reachX)));
    const auto x1 = static_cast<int32_t>(std::min<double>(clip.right, std::ceil(cx + reachX)));
    const auto y0 = static_cast<int32_t>(std::max<double>(clip.top, std::floor(cy - reachY)));
    const auto y1 = static_cast<int32_t>(std::min<double>(clip.bottom, std::ceil(cy + reachY)));
    const int bytes = target.BytesPerPixel;
    for (int32_t y = y0; y < y1; ++y) {
        const double py = y + 0.5 - cy;
        for (int32_t x = x0; x < x1; ++x) {
            const double px = x + 0.5 - cx;
            const double localX = px * c + py * s + width / 2;
            const double localY = -px * s + py * c + height / 2;
            if (localX < 0 || localX >= width || localY < 0 || localY >= height)
                continue;
            const auto sx = std::min(sourceRect.right - 1,
                                     sourceRect.left + int32_t(localX * sourceWidth / width));
            const auto sy = std::min(sourceRect.bottom - 1,
                                     sourceRect.top + int32_t(localY * sourceHeight / height));
            const uint32_t pixel = LoadPixel(source.At(sx, sy), bytes);
            if (!key || pixel != *key)
                StorePixel(target.At(x, y), bytes, pixel);
        }
    }
}

} // namespace Win32
