#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Unit.h"

namespace GameData {

void TUnit::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue<uint32_t>(Prototype ? uint32_t(Prototype->ID) : 0);
    stream->WriteValue(Own);
    stream->WriteValue<int64_t>(CreatureType);
    stream->WriteValue<uint8_t>(IsHero);
    Data::WriteStreamString(stream, Name);
    stream->WriteValue<uint32_t>(uint32_t(Effects.Count()));
    for (const TAfterEffect* effect : Effects)
        stream->WriteValue(TAfterEffectRecord{effect->Delta, effect->Duration, effect->Reserved,
                                              effect->Kind, effect->Renewed, 0});
    stream->WriteValue<uint8_t>(Marker);
}

void TUnit::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    const uint32_t prototypeID = stream->ReadValue<uint32_t>();
    const TUnitStats own = stream->ReadValue<TUnitStats>();
    Data::CheckData(own.Level() >= 1 && own.Level() <= MaxUnitLevel);
    CreatureType = stream->ReadValue<int64_t>();
    IsHero = stream->ReadValue<uint8_t>();
    Data::ReadStreamString(stream, Name);
    const int32_t effectCount =
        Data::ReadCount(*stream, static_cast<int64_t>(sizeof(TAfterEffectRecord)));
    Effects.SetCapacity(effectCount);
    for (int32_t i = 0; i < effectCount; ++i) {
        const auto record = stream->ReadValue<TAfterEffectRecord>();
        auto effect = std::make_unique<TAfterEffect>();
        effect->Delta = record.Delta;
        effect->Duration = record.Duration;
        effect->Reserved = record.Reserved;
        effect->Kind = record.Kind;
        effect->Renewed = record.Renewed;
        Effects.Add(effect.release());
    }
    Marker = stream->ReadValue<uint8_t>();

    Prototype = Data2::FindUnitPrototypeByID(int(prototypeID));
    if (!Prototype)
        throw Data::EInvalidData("Prototype not found.");
    Own = own;
    RecalculateStats(true);
    ReleaseAllSprites();
    AcquirePortrait();
    AcquireSpriteSet(usMapStanding);
    AcquireSpriteSet(usMapDying);
}

} // namespace GameData
