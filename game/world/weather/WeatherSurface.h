// The tile the weather particles are drawn into: 256 x 256 pixels in the display's
// 16-bit format, colour 0 transparent. The map renderer repeats it over the view.
#pragma once

#include <cstdint>
#include <vector>

namespace GameData {

constexpr int WeatherTileSize = 256;

struct TWeatherSurface {
    std::vector<uint16_t> Pixels = std::vector<uint16_t>(WeatherTileSize * WeatherTileSize);

    void Fill(uint16_t colour) { std::fill(Pixels.begin(), Pixels.end(), colour); }
    // Wraps both coordinates into the tile.
    void Plot(int x, int y, uint16_t colour) {
        Pixels[size_t((y & (WeatherTileSize - 1)) * WeatherTileSize +
                      (x & (WeatherTileSize - 1)))] = colour;
    }
    uint16_t At(int x, int y) const {
        return Pixels[size_t((y & (WeatherTileSize - 1)) * WeatherTileSize +
                             (x & (WeatherTileSize - 1)))];
    }
};

} // namespace GameData
