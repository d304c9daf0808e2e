#include "game/world/scenario/Particles.h"

#include <cstring>

namespace GameData {

namespace {

// Every particle is nine 16-bit words and its colour; one record per particle
// keeps a pool of 1600 cheap to write.
#pragma pack(push, 1)
struct TParticleRecord {
    uint16_t X;
    uint16_t Y;
    int16_t Height;
    uint16_t Speed;
    int16_t Ground;
    uint16_t State;
    uint16_t Extra; // snow: phase; sand: the low half of the phase; rain: the screen x
    int16_t ScreenX;
    int16_t ScreenY;
    uint32_t Colour;
};
#pragma pack(pop)
static_assert(sizeof(TParticleRecord) == 22);

// Rain has one word less: its record ends after the screen position.
constexpr int64_t RainRecordSize = 18;

template <typename T>
TParticleRecord Common(const T& particle) {
    TParticleRecord record{};
    record.X = particle.X;
    record.Y = particle.Y;
    record.Height = particle.Height;
    record.Speed = particle.Speed;
    record.Ground = particle.Ground;
    record.State = particle.State;
    record.ScreenX = particle.ScreenX;
    record.ScreenY = particle.ScreenY;
    record.Colour = particle.Colour;
    return record;
}

template <typename T>
void TakeCommon(T& particle, const TParticleRecord& record) {
    particle.X = record.X;
    particle.Y = record.Y;
    particle.Height = record.Height;
    particle.Speed = record.Speed;
    particle.Ground = record.Ground;
    particle.State = record.State;
    particle.ScreenX = record.ScreenX;
    particle.ScreenY = record.ScreenY;
    particle.Colour = record.Colour;
    Data::CheckData(particle.State <= T::Dead);
}

TParticleRecord ReadRecord(Data::TStream* stream) {
    TParticleRecord record{};
    stream->ReadBuffer(&record, sizeof(record));
    return record;
}

} // namespace

void TRainDrop::LoadFromStream(Data::TStream* stream) {
    // X, Y, Height, Speed, Ground, State, ScreenX, ScreenY, Colour.
    uint8_t bytes[RainRecordSize];
    stream->ReadBuffer(bytes, RainRecordSize);
    TParticleRecord record{};
    std::memcpy(&record, bytes, 12);
    std::memcpy(&record.ScreenX, bytes + 12, 6);
    TakeCommon(*this, record);
}

void TRainDrop::SaveToStream(Data::TStream* stream) const {
    const TParticleRecord record = Common(*this);
    uint8_t bytes[RainRecordSize];
    std::memcpy(bytes, &record, 12);
    std::memcpy(bytes + 12, &record.ScreenX, 6);
    stream->WriteBuffer(bytes, RainRecordSize);
}

void TRainDrop::Clear() {
    X = Y = Speed = 0;
    Height = Ground = ScreenX = ScreenY = 0;
    Colour = 0;
    State = Dead;
}

void TSnowFlake::LoadFromStream(Data::TStream* stream) {
    const TParticleRecord record = ReadRecord(stream);
    TakeCommon(*this, record);
    Phase = record.Extra;
}

void TSnowFlake::SaveToStream(Data::TStream* stream) const {
    TParticleRecord record = Common(*this);
    record.Extra = Phase;
    stream->WriteBuffer(&record, sizeof(record));
}

void TSnowFlake::Clear() {
    X = Y = Speed = Phase = 0;
    Height = Ground = ScreenX = ScreenY = 0;
    Colour = 0;
    State = Dead;
}

void TSandSeed::LoadFromStream(Data::TStream* stream) {
    const TParticleRecord record = ReadRecord(stream);
    TakeCommon(*this, record);
    // Only the low half of the phase is kept; it only staggers the drift.
    Phase = record.Extra;
}

void TSandSeed::SaveToStream(Data::TStream* stream) const {
    TParticleRecord record = Common(*this);
    record.Extra = static_cast<uint16_t>(Phase);
    stream->WriteBuffer(&record, sizeof(record));
}

void TSandSeed::Clear() {
    X = Y = Speed = 0;
    Height = Ground = ScreenX = ScreenY = 0;
    Colour = 0;
    Phase = 0;
    State = Dead;
}

} // namespace GameData
