#include "game/world/cities/Merchants.h"

#include "game/world/data/GlobalData.h"

namespace GameData {

using Data::TStream;

void TMerchant::LoadFromStream(TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Data::CheckData(stream->ReadValue<uint32_t>() == Type);
    Enabled = stream->ReadValue<uint8_t>();
    for (uint32_t& value : Values)
        value = stream->ReadValue<uint32_t>();
    Data::ReadStreamString(stream, Text1);
    Value1 = stream->ReadValue<uint32_t>();
    Data::ReadStreamString(stream, Text2);
    PictureID = stream->ReadValue<uint32_t>();
    Value3 = stream->ReadValue<uint32_t>();
}

void TMerchant::SaveToStream(TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(static_cast<uint32_t>(Type));
    stream->WriteValue(Enabled);
    for (uint32_t value : Values)
        stream->WriteValue(value);
    Data::WriteStreamString(stream, Text1);
    stream->WriteValue(Value1);
    Data::WriteStreamString(stream, Text2);
    stream->WriteValue(PictureID);
    stream->WriteValue(Value3);
}

void TMerchant::Clear() {
    TDataObject::Clear();
    Enabled = 0;
    Values = {};
    Text1.clear();
    Value1 = 0;
    Text2.clear();
    PictureID = 0;
    Value3 = 0;
}

void TMerchant::LoadPrices(TStream* stream, TPriceTable& prices) {
    for (uint32_t& price : prices)
        price = stream->ReadValue<uint32_t>();
}

void TMerchant::SavePrices(TStream* stream, const TPriceTable& prices) {
    for (uint32_t price : prices)
        stream->WriteValue(price);
}

void TInnkeeperMerchant::LoadFromStream(TStream* stream) {
    TMerchant::LoadFromStream(stream);
    BeerPrice = stream->ReadValue<uint32_t>();
}

void TInnkeeperMerchant::SaveToStream(TStream* stream) const {
    TMerchant::SaveToStream(stream);
    stream->WriteValue(BeerPrice);
}

void TInnkeeperMerchant::Clear() {
    TMerchant::Clear();
    BeerPrice = 0;
}

void TMageMerchant::LoadFromStream(TStream* stream) {
    TMerchant::LoadFromStream(stream);
    ManaPrice = stream->ReadValue<uint32_t>();
    LoadPrices(stream, SpellPrices);
}

void TMageMerchant::SaveToStream(TStream* stream) const {
    TMerchant::SaveToStream(stream);
    stream->WriteValue(ManaPrice);
    SavePrices(stream, SpellPrices);
}

void TMageMerchant::Clear() {
    TMerchant::Clear();
    ManaPrice = 0;
    SpellPrices = {};
}

const Data2::TSpellPrototype* TMageMerchant::GetSpellPrototype(int index) {
    const Data2::TGlobalData& global = *Data2::GlobalData;
    const int found = global.FindSpell(index + 1);
    return found < 0 ? nullptr : &global.SpellPrototypes[found];
}

void TBattleMasterMerchant::LoadFromStream(TStream* stream) {
    TMerchant::LoadFromStream(stream);
    KeptValue = stream->ReadValue<uint32_t>();
    LoadPrices(stream, SkillPrices);
}

void TBattleMasterMerchant::SaveToStream(TStream* stream) const {
    TMerchant::SaveToStream(stream);
    stream->WriteValue(KeptValue);
    SavePrices(stream, SkillPrices);
}

void TBattleMasterMerchant::Clear() {
    TMerchant::Clear();
    KeptValue = 0;
    SkillPrices = {};
}

const Data2::TSkillPrototype* TBattleMasterMerchant::GetSkillPrototype(int index) {
    const Data2::TGlobalData& global = *Data2::GlobalData;
    const int found = global.FindSkill(index + 1);
    return found < 0 ? nullptr : &global.SkillPrototypes[found];
}

void THerbalistMerchant::LoadFromStream(TStream* stream) {
    TMerchant::LoadFromStream(stream);
    HealPrice = stream->ReadValue<uint32_t>();
    KeptValue = stream->ReadValue<uint32_t>();
    LoadPrices(stream, AbilityPrices);
}

void THerbalistMerchant::SaveToStream(TStream* stream) const {
    TMerchant::SaveToStream(stream);
    stream->WriteValue(HealPrice);
    stream->WriteValue(KeptValue);
    SavePrices(stream, AbilityPrices);
}

void THerbalistMerchant::Clear() {
    TMerchant::Clear();
    HealPrice = 0;
    KeptValue = 0;
    AbilityPrices = {};
}

const Data2::TSpellPrototype* THerbalistMerchant::GetAbilityPrototype(int index) {
    const Data2::TGlobalData& global = *Data2::GlobalData;
    const int found = global.FindSpell(index + 65);
    return found < 0 ? nullptr : &global.SpellPrototypes[found];
}

} // namespace GameData
