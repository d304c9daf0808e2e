// The weather's particles. The scenario keeps fixed pools of them, every particle
// dead until the weather starts it.
#pragma once

#include "engine/core/DataObject.h"

#include <cstdint>

namespace GameData {

struct TWeatherSurface;
class TPlainRandom;

constexpr int RainDropCount = 300;
constexpr int SnowFlakeCount = 500;
constexpr int SandSeedCount = 800;
// The weather states: none, rain, snow, sand storm, and the overlay picture.
enum TWeatherState : int32_t { wsNone = 0, wsRain = 1, wsSnow = 2, wsSand = 3, wsOverlay = 4 };
constexpr int32_t MaxWeather = wsOverlay;

class TRainDrop : public Data::TDataObject {
public:
    static constexpr uint16_t Dead = 2;
    // No identifier is stored: a pool is a plain run of particles.
    void Start(int x, int y, uint32_t colour, int ground, int speed, int height);
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;
    void Advance();
    // A splash scatters its pixels by the random generator.
    void Draw(TWeatherSurface& surface, int offsetX, int offsetY, TPlainRandom& random) const;
    bool IsAlive() const { return State != Dead; }
    uint16_t X = 0;
    uint16_t Y = 0;
    int16_t Height = 0;
    int16_t Ground = 0;
    uint16_t Speed = 0;
    uint16_t State = Dead;
    uint32_t Colour = 0;
    int16_t ScreenX = 0;
    int16_t ScreenY = 0;
};

class TSnowFlake : public Data::TDataObject {
public:
    static constexpr uint16_t Dead = 2;
    void Start(int x, int y, int phase, int ground, int speed, int height);
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;
    void Advance();
    void Draw(TWeatherSurface& surface, int offsetX, int offsetY) const;
    bool IsAlive() const { return State != Dead; }
    uint16_t X = 0;
    uint16_t Y = 0;
    int16_t Height = 0;
    int16_t Ground = 0;
    uint16_t Speed = 0;
    uint16_t State = Dead;
    int16_t ScreenX = 0;
    int16_t ScreenY = 0;
    uint16_t Phase = 0;
    uint32_t Colour = 0;
};

class TSandSeed : public Data::TDataObject {
public:
    static constexpr uint16_t Dead = 1;
    void Start(int x, int y, int phase, uint32_t colour, int ground, int speed, int height);
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;
    void Advance();
    void Draw(TWeatherSurface& surface, int offsetX, int offsetY) const;
    bool IsAlive() const { return State != Dead; }

private:
    void Place();

public:
    uint16_t X = 0;
    uint16_t Y = 0;
    int16_t Height = 0;
    int16_t Ground = 0;
    uint16_t Speed = 0;
    uint16_t State = Dead;
    int16_t ScreenX = 0;
    int16_t ScreenY = 0;
    uint32_t Colour = 0;
    int32_t Phase = 0;
};

} // namespace GameData
