#include "game/world/units/Unit.h"

#include "platform/classlib/AnsiString.h"

#include <cstring>

namespace GameData {

TUnit::~TUnit() {
    ReleaseAllSprites();
}

void TUnit::Assign(const TDataObject* source) {
    const auto* other = dynamic_cast<const TUnit*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    ID = other->ID;
    Prototype = other->Prototype;
    IsHero = other->IsHero;
    Name = other->Name;
    Owner = other->Owner;
    DefenceBonus = other->DefenceBonus;
    Own = other->Own;
    CopyEffectsFrom(*other);
    Effective = other->Effective;
}

void TUnit::CopyCombatState(const TUnit& other) {
    Prototype = other.Prototype;
    Own = other.Own;
    CopyEffectsFrom(other);
    Effective = other.Effective;
    DefenceBonus = other.DefenceBonus;
}

void TUnit::CopyWhole(const TUnit& other) {
    if (&other == this)
        return;
    ReleaseAllSprites();
    ID = other.ID;
    Prototype = other.Prototype;
    SavedPrototype = other.SavedPrototype;
    CreatureType = other.CreatureType;
    IsHero = other.IsHero;
    Name = other.Name;
    Owner = other.Owner;
    CopyEffectsFrom(other);
    DefenceBonus = other.DefenceBonus;
    Marker = other.Marker;
    Wounds = other.Wounds;
    ShowWounds = other.ShowWounds;
    SortKey = other.SortKey;
    Required = other.Required;
    FromScenario = other.FromScenario;
    Own = other.Own;
    Effective = other.Effective;
    LevelledUp = other.LevelledUp;
    KilledByScript = other.KilledByScript;
    KeepCorpse = other.KeepCorpse;
}

void TUnit::CopyEffectsFrom(const TUnit& other) {
    if (&other == this)
        return;
    Effects.Clear();
    Effects.SetCapacity(other.Effects.Count());
    for (const TAfterEffect* effect : other.Effects)
        Effects.Add(new TAfterEffect(*effect));
}

void TUnit::Clear() {
    ReleaseAllSprites();
    Prototype = nullptr;
    SavedPrototype = nullptr;
    CreatureType = 0;
    IsHero = 0;
    Name.clear();
    Owner = nullptr;
    Effects.Clear();
    DefenceBonus = 0;
    Marker = 0;
    Wounds.Clear();
    ShowWounds = 1;
    SortKey = 0;
    Required = 0;
    FromScenario = 0;
    Own = TUnitStats{};
    Effective = TUnitStats{};
    LevelledUp = 0;
    KilledByScript = 0;
    KeepCorpse = 0;
}

void TUnit::InitFromPrototype(const Data2::TUnitPrototype& prototype) {
    Prototype = &prototype;
    Own = prototype.Stats;
    Own.RecalcValues();
    Own.ResetExperience();
    Own.ResetMorale();
    CreatureType = prototype.CreatureType;
    IsHero = prototype.IsHero;
    Name.assign(prototype.Name, strnlen(prototype.Name, sizeof prototype.Name));
    ShowWounds = 1;
    RecalculateStats(true);
    AcquirePortrait();
    AcquireSpriteSet(usMapStanding);
    AcquireSpriteSet(usMapDying);
}

TGroup* TUnit::GetGroup() const {
    return Owner ? Owner->AsGroup() : nullptr;
}

TCity* TUnit::GetCity() const {
    return Owner ? Owner->AsCity() : nullptr;
}

TUnitPlayer* TUnit::GetPlayer() const {
    return Owner ? Owner->PlayerOf(*this) : nullptr;
}

bool TUnit::IsCivilian() const {
    return Owner && Owner->AsCity() && Owner->IsCivilian(*this);
}

bool TUnit::IsInFlaggedCity() const {
    return Owner && Owner->AsCity() && Owner->HasScriptedEntry();
}

void TUnit::AgeWounds() {
    for (int i = Wounds.Count() - 1; i >= 0; --i) {
        TWoundInfo& wound = Wounds[i];
        ++wound.Age;
        if (wound.Age >= WoundLifetime)
            Wounds.Delete(i);
    }
}

ClassLib::AnsiString TUnit::DisplayName() const {
    if (Effective.Level() < 1)
        return Name;
    return ClassLib::Format("%s (%d)", Name, int(Effective.Level()));
}

int CompareBySortKey(const TUnit* a, const TUnit* b) {
    return a->SortKey > b->SortKey ? -1 : a->SortKey < b->SortKey ? 1 : 0;
}

} // namespace GameData
