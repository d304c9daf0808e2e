// Rain drops, snow flakes and sand seeds: their motion, their pixels in the weather
// tile and their stored form. Everything random here is visual variety from the
// plain generator; the game's own generator is never touched.
#include "game/world/scenario/Particles.h"

#include "engine/core/InvalidData.h"
#include "engine/graphics/GfxPixels.h"
#include "game/world/weather/PlainRandom.h"
#include "game/world/weather/WeatherSurface.h"

#include <algorithm>
#include <cmath>

namespace GameData {

namespace {

void WriteAll(Data::TStream* stream, std::initializer_list<uint16_t> fields, uint32_t colour) {
    for (uint16_t field : fields)
        stream->WriteValue(field);
    stream->WriteValue(colour);
}

uint16_t Read16(Data::TStream* stream) {
    return stream->ReadValue<uint16_t>();
}

uint16_t Grey16(int level) {
    const uint32_t v = uint32_t(std::clamp(level, 0, 255));
    return Gfx::PackColor16((v << 16) | (v << 8) | v);
}

} // namespace

// Rain.

void TRainDrop::Start(int x, int y, uint32_t colour, int ground, int speed, int height) {
    X = uint16_t(x);
    Y = uint16_t(y);
    Colour = colour;
    Ground = int16_t(ground);
    Speed = uint16_t(speed);
    Height = int16_t(height);
    State = 0;
    ScreenX = int16_t(X + (Height - Ground) / 10);
    ScreenY = int16_t(Y - (Height - Ground) / 3);
}

void TRainDrop::Advance() {
    if (State == 0) {
        Height = int16_t(Height - Speed);
        ScreenX = int16_t(X + (Height - Ground) / 10);
        ScreenY = int16_t(Y - (Height - Ground) / 3);
        if (Height <= Ground) {
            State = 1;
            Height = 0;
        }
    } else if (State == 1) {
        Height = int16_t(Height + 1);
        if (Height >= 15)
            State = Dead;
    }
}

void TRainDrop::Draw(TWeatherSurface& surface, int offsetX, int offsetY,
                     TPlainRandom& random) const {
    const auto colour = uint16_t(Colour);
    if (State == 0) {
        for (int k = 0; k < 6; ++k)
            surface.Plot(ScreenX + offsetX + k / 3, ScreenY + offsetY - k, colour);
    } else if (State == 1) {
        const int s = Height / 6;
        for (int i = 0; i < 3; ++i) {
            const int r1 = random.Below(s + 1);
            const int r2 = random.Below(s + 1);
            surface.Plot(X + offsetX + r1 - s / 2, Y + offsetY + r2 - s / 2, colour);
        }
    }
}

void TRainDrop::SaveToStream(Data::TStream* stream) const {
    WriteAll(stream,
             {X, Y, uint16_t(Height), Speed, uint16_t(Ground), State, uint16_t(ScreenX),
              uint16_t(ScreenY)},
             Colour);
}

void TRainDrop::LoadFromStream(Data::TStream* stream) {
    X = Read16(stream);
    Y = Read16(stream);
    Height = int16_t(Read16(stream));
    Speed = Read16(stream);
    Ground = int16_t(Read16(stream));
    State = Read16(stream);
    Data::CheckData(State <= Dead);
    ScreenX = int16_t(Read16(stream));
    ScreenY = int16_t(Read16(stream));
    Colour = stream->ReadValue<uint32_t>();
}

void TRainDrop::Clear() {
    X = Y = Speed = 0;
    Height = Ground = ScreenX = ScreenY = 0;
    Colour = 0;
    State = Dead;
}

// Snow.

void TSnowFlake::Start(int x, int y, int phase, int ground, int speed, int height) {
    X = uint16_t(x);
    Y = uint16_t(y);
    Phase = uint16_t(phase);
    Ground = int16_t(ground);
    Speed = uint16_t(speed);
    Height = int16_t(height);
    Colour = Grey16(255);
    State = 0;
    ScreenX = int16_t(X);
    ScreenY = int16_t(Y - (Height - Ground) / 3);
}

void TSnowFlake::Advance() {
    if (State == 0) {
        Height = int16_t(Height - Speed);
        const int h = Height - Ground;
        ScreenX = int16_t(X + int(4 * std::sin(0.015 * (h + Phase))));
        ScreenY = int16_t(Y - h / 3);
        if (Height <= Ground) {
            State = 1;
            ScreenX = int16_t(X);
            ScreenY = int16_t(Y);
            Height = 0;
        }
    } else if (State == 1) {
        Height = int16_t(Height + 1);
        Colour = Grey16(255 - Height);
        if (Height >= 100)
            State = Dead;
    }
}

void TSnowFlake::Draw(TWeatherSurface& surface, int offsetX, int offsetY) const {
    if (State != Dead)
        surface.Plot(ScreenX + offsetX, ScreenY + offsetY, uint16_t(Colour));
}

void TSnowFlake::SaveToStream(Data::TStream* stream) const {
    WriteAll(stream,
             {X, Y, uint16_t(Height), Speed, uint16_t(Ground), State, Phase, uint16_t(ScreenX),
              uint16_t(ScreenY)},
             Colour);
}

void TSnowFlake::LoadFromStream(Data::TStream* stream) {
    X = Read16(stream);
    Y = Read16(stream);
    Height = int16_t(Read16(stream));
    Speed = Read16(stream);
    Ground = int16_t(Read16(stream));
    State = Read16(stream);
    Data::CheckData(State <= Dead);
    Phase = Read16(stream);
    ScreenX = int16_t(Read16(stream));
    ScreenY = int16_t(Read16(stream));
    Colour = stream->ReadValue<uint32_t>();
}

void TSnowFlake::Clear() {
    X = Y = Speed = Phase = 0;
    Height = Ground = ScreenX = ScreenY = 0;
    Colour = 0;
    State = Dead;
}

// Sand.

void TSandSeed::Start(int x, int y, int phase, uint32_t colour, int ground, int speed, int height) {
    X = uint16_t(x);
    Y = uint16_t(y);
    Phase = phase;
    Colour = colour;
    Ground = int16_t(ground);
    Speed = uint16_t(speed);
    Height = int16_t(height);
    State = 0;
    Place();
}

void TSandSeed::Place() {
    const int h = Height - Ground;
    ScreenX = int16_t(int(50 * std::sin(0.02 * (h + Phase))) + 3 * h + X);
    ScreenY = int16_t(int(4 * std::sin(0.005 * (h + Phase))) + h + Y);
}

void TSandSeed::Advance() {
    if (State != 0)
        return;
    Height = int16_t(Height - Speed);
    Place();
    if (Height <= Ground)
        State = Dead;
}

void TSandSeed::Draw(TWeatherSurface& surface, int offsetX, int offsetY) const {
    if (State == 0)
        surface.Plot(ScreenX + offsetX, ScreenY + offsetY, uint16_t(Colour));
}

void TSandSeed::SaveToStream(Data::TStream* stream) const {
    WriteAll(stream,
             {X, Y, uint16_t(Height), Speed, uint16_t(Ground), State, uint16_t(Phase),
              uint16_t(ScreenX), uint16_t(ScreenY)},
             Colour);
}

void TSandSeed::LoadFromStream(Data::TStream* stream) {
    X = Read16(stream);
    Y = Read16(stream);
    Height = int16_t(Read16(stream));
    Speed = Read16(stream);
    Ground = int16_t(Read16(stream));
    State = Read16(stream);
    Data::CheckData(State <= Dead);
    Phase = int16_t(Read16(stream));
    ScreenX = int16_t(Read16(stream));
    ScreenY = int16_t(Read16(stream));
    Colour = stream->ReadValue<uint32_t>();
}

void TSandSeed::Clear() {
    X = Y = Speed = 0;
    Height = Ground = ScreenX = ScreenY = 0;
    Colour = 0;
    Phase = 0;
    State = Dead;
}

} // namespace GameData
