// One creature or hero: an instance of a unit prototype with its own statistics,
// the effective statistics (own plus temporary effects), experience and levels,
// after-effects, recent wounds, and the sprites that show it.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/DynamicArray.h"
#include "engine/core/ObjectList.h"
#include "game/world/data/Prototypes.h"
#include "game/world/units/AfterEffect.h"
#include "game/world/units/UnitOwner.h"
#include "game/world/units/UnitSpriteSet.h"
#include "game/world/units/UnitStats.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>

namespace Gfx {
class TSprite;
}

namespace Win32 {
class IDirectDrawSurface7;
}

namespace GameData {

class TUnit : public Data::TDataObject {
public:
    TUnit() = default;
    ~TUnit() override; // releases every sprite it holds

    // Copies the identifier, prototype, hero flag, name, owner, defence bonus, both
    // statistics records and the effects (deep).
    void Assign(const TDataObject* source) override;
    // After the identifier: prototype ID, own record, creature type, hero flag, name,
    // effects, marker. A prototype the global data lacks is "Prototype not found.";
    // a LEVEL outside 1..20 or more effects than bytes left is "Invalid data.".
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Own record from the prototype at its level values, experience and morale reset;
    // portrait and standing and dying map sprites acquired.
    void InitFromPrototype(const Data2::TUnitPrototype& prototype);
    // The prototype, own and effective records, effects (deep) and defence bonus, for
    // battle simulations on scratch units.
    void CopyCombatState(const TUnit& other);
    // Every field (the effects deep) but the sprites, which the copy does not hold: a
    // copy that every rule judges as it judges the original.
    void CopyWhole(const TUnit& other);

    // Owner-derived.
    TGroup* GetGroup() const;
    TCity* GetCity() const;
    TUnitPlayer* GetPlayer() const;
    bool IsCivilian() const;
    bool IsInFlaggedCity() const;

    // Effective := own plus effects (of a spell kind only the newest counts). With
    // clamp: ratings not below 0, MORALE 0..100, and pools above their maximum give
    // the excess up from the own record as well.
    void RecalculateStats(bool clamp);
    void AddEffect(std::unique_ptr<TAfterEffect> effect);
    void RemoveEffectsOfKind(int32_t kind);
    void ClearEffects();
    bool HasEffect(int32_t kind) const;
    void MarkEffectsRenewed();
    // Deletes the effects not renewed since MarkEffectsRenewed and clears the flag of
    // the others; an unrenewed leave-group effect takes the unit out of its group.
    void DropUnrenewedEffects();
    // One turn off every effect; spent effects go. Recomputes without clamping.
    void AgeEffects();
    // Battle-spell effects end; a transformation gives the saved prototype back; a
    // leave-group effect takes the unit out of its group and ends the walk.
    void RemoveBattleEffects();

    // Pools and morale; gains stop at the maximum (0..100 for morale), losses count in full.
    void AddHitPoints(int32_t n);
    void AddMana(int32_t n);
    void AddActionPoints(int32_t n);
    void ChangeMorale(int32_t d);

    // Own experience += amount * levelFactor / effective LEVEL, held below the
    // scenario's maximum level; then LevelUp.
    void GainExperience(int32_t amount, int32_t levelFactor);
    bool CanLevelUp() const;
    // Up to the level the experience reaches: pools rise by their maxima's growth,
    // ratings go to their level values; sets LevelledUp.
    void LevelUp();
    // Start of the owner's turn: effects age, action points refill, morale drifts
    // toward the default, mana and hit points regenerate.
    void NewTurn();
    bool IsDead() const;
    bool CanAct() const;
    // entryCost: what entering the location costs (groups work it out per location).
    bool CanEnter(int32_t entryCost) const;

    // Spells and skills by identifier; battle spells share the bits of 1..64.
    bool KnowsSpell(int id) const;
    bool CanLearnSpell(int id) const;
    bool HasLevelForSpell(int id) const;
    void LearnSpell(int id);
    int SpellCount() const;
    bool HasUsableSpell() const;
    bool CanCastSpell(const Data2::TSpellPrototype& spell) const;
    void ForgetSpellsAboveLevel();
    bool HasSkill(int id) const;
    bool CanLearnSkill(int id) const;
    bool HasLevelForSkill(int id) const;
    // False, changing nothing, when there is no such skill.
    bool LearnSkill(int id);
    bool IsImmuneToSpell(int id) const;

    // Every wound one tick older; wounds of 200 ticks go.
    void AgeWounds();
    // "Name (level)", or the name alone below level 1.
    ClassLib::AnsiString DisplayName() const;
    // The icons of the effects in rows of four upward from y + 80: a spell's effect in
    // the frame of its spell family; effects with no icon and no spell take no place.
    void DrawEffectIcons(Win32::IDirectDrawSurface7* target, int x, const Win32::RECT& clip,
                         int y) const;

    // Combat: damage values, blows and their consequences.
    int16_t AttackDamage(const TUnit& target) const;
    int16_t CounterattackDamage(const TUnit& target) const;
    int16_t ExpectedAttackDamage(const TUnit& target) const;
    int16_t ExpectedCounterattackDamage(const TUnit& target) const;
    void Attack(TUnit& target);
    void Counterattack(TUnit& target);
    void SimulateAttack(TUnit& target);
    void SimulateCounterattack(TUnit& target);
    // Returns the hit points actually lost.
    int32_t TakeDamage(int32_t amount);
    void GainMoraleForKill(const TUnit& victim);
    void DemoralizeGroupMates();

    // Sprites from the global creature library. A set already held is kept; battle
    // sets also get their device surfaces when there is a display.
    void AcquirePortrait();
    void ReleasePortrait();
    void AcquireDetailPicture();
    void ReleaseDetailPicture();
    void AcquireSpriteSet(TUnitSpriteSet set);
    void ReleaseSpriteSet(TUnitSpriteSet set);
    void AcquireSprite(TUnitSpriteSet set, int direction); // one direction of a set
    void ReleaseSprite(TUnitSpriteSet set, int direction);
    void ReleaseAllSprites();
    // The battle sets, as the fight screen takes them: whole sets, or the attack and
    // spell-cast sets one direction at a time.
    void AcquireBattleIdleSprites() { AcquireSpriteSet(usBattleIdle); }
    void ReleaseBattleIdleSprites() { ReleaseSpriteSet(usBattleIdle); }
    void AcquireBattleDeathSprites() { AcquireSpriteSet(usBattleDeath); }
    void ReleaseBattleDeathSprites() { ReleaseSpriteSet(usBattleDeath); }
    void AcquireBattleAnim1Sprites() { AcquireSpriteSet(usBattleAnimation1); }
    void ReleaseBattleAnim1Sprites() { ReleaseSpriteSet(usBattleAnimation1); }
    void AcquireBattleAttackSprite(int direction) { AcquireSprite(usBattleAttack, direction); }
    void ReleaseBattleAttackSprite(int direction) { ReleaseSprite(usBattleAttack, direction); }
    void AcquireBattleCastSprite(int direction) { AcquireSprite(usBattleSpellCast, direction); }
    void ReleaseBattleCastSprite(int direction) { ReleaseSprite(usBattleSpellCast, direction); }
    // After a change of prototype: every held sprite taken again from the new one.
    void RefreshSprites();
    Gfx::TSprite* Portrait() const { return FPortrait; }
    Gfx::TSprite* DetailPicture() const { return FDetailPicture; }
    Gfx::TSprite* Sprite(TUnitSpriteSet set, int direction) const {
        return FSprites[set][direction];
    }

    const Data2::TUnitPrototype* Prototype = nullptr;      // lent by the global data
    const Data2::TUnitPrototype* SavedPrototype = nullptr; // while transformed
    int64_t CreatureType = 0; // the prototype's creature type, widened with its sign
    uint8_t IsHero = 0;
    ClassLib::AnsiString Name;
    TUnitOwner* Owner = nullptr;
    Data::TObjectList<TAfterEffect> Effects{true};
    int32_t DefenceBonus = 0; // percent added to DEFENCE when attacked
    uint8_t Marker = 0;
    Data::TDynamicArray<TWoundInfo> Wounds;
    uint8_t ShowWounds = 1;
    int32_t SortKey = 0; // scratch key of the computer's battle decisions
    uint8_t Required = 0;
    uint8_t FromScenario = 0;
    TUnitStats Own{};
    TUnitStats Effective{};
    uint8_t LevelledUp = 0; // until the game announces the new level
    uint8_t KilledByScript = 0;
    uint8_t KeepCorpse = 0;

private:
    void AddToPool(TUnitStat pool, int32_t n);
    int16_t DamageAgainst(const TUnit& target, TUnitStat rating, bool withDefenceBonus,
                          bool rolled) const;
    void Strike(TUnit& target, int16_t damage);
    void SimulateStrike(TUnit& target, int16_t damage);
    void CopyEffectsFrom(const TUnit& other);
    Gfx::TSprite*& Slot(TUnitSpriteSet set, int direction) { return FSprites[set][direction]; }

    Gfx::TSprite* FPortrait = nullptr;
    Gfx::TSprite* FDetailPicture = nullptr;
    Gfx::TSprite* FSprites[UnitSpriteSetCount][UnitDirectionCount] = {};
};

// Highest SortKey first.
int CompareBySortKey(const TUnit* a, const TUnit* b);

} // namespace GameData
