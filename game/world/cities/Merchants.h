// The six merchants of a city: they hold the prices and texts the city screen
// shows. Purchases are the city's operations (they change a unit and take gold).
#pragma once

#include "engine/core/DataObject.h"

#include <array>
#include <cstdint>

namespace Data2 {
struct TSkillPrototype;
struct TSpellPrototype;
} // namespace Data2

namespace GameData {

using ClassLib::AnsiString;

enum TMerchantType : uint32_t {
    mtInnkeeper = 1,
    mtMage = 2,
    mtBattleMaster = 3,
    mtHerbalist = 4,
    mtCustom = 5,
};

enum TPurchaseKind : uint32_t {
    pkHireUnit = 0,
    pkRestoreMana = 1,
    pkBuySpell = 2,
    pkTrainSkill = 3,
    pkHealWounds = 4,
    pkObtainAbility = 5,
    pkBuyDrink = 6,
};

constexpr int PriceTableSize = 64;
using TPriceTable = std::array<uint32_t, PriceTableSize>;

class TMerchant : public Data::TDataObject {
public:
    explicit TMerchant(TMerchantType type) : Type(type) {}

    // A stored type other than the class's own is "Invalid data.".
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    // Keeps the type; everything else zero or empty.
    void Clear() override;

    const TMerchantType Type;
    uint8_t Enabled = 0;
    std::array<uint32_t, 8> Values{};
    AnsiString Text1;
    uint32_t Value1 = 0;
    AnsiString Text2;
    uint32_t PictureID = 0;
    uint32_t Value3 = 0;

protected:
    static void LoadPrices(Data::TStream* stream, TPriceTable& prices);
    static void SavePrices(Data::TStream* stream, const TPriceTable& prices);
};

class TInnkeeperMerchant : public TMerchant {
public:
    TInnkeeperMerchant() : TMerchant(mtInnkeeper) {}
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    uint32_t BeerPrice = 0;
};

class TMageMerchant : public TMerchant {
public:
    TMageMerchant() : TMerchant(mtMage) {}
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Spell ID index + 1; null when the global data have none.
    static const Data2::TSpellPrototype* GetSpellPrototype(int index);

    uint32_t ManaPrice = 0;
    TPriceTable SpellPrices{}; // entry i: spell i + 1; 0 = not offered
};

class TBattleMasterMerchant : public TMerchant {
public:
    TBattleMasterMerchant() : TMerchant(mtBattleMaster) {}
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Skill ID index + 1; null when the global data have none.
    static const Data2::TSkillPrototype* GetSkillPrototype(int index);

    uint32_t KeptValue = 0;
    TPriceTable SkillPrices{}; // entry i: skill i + 1; 0 = not offered
};

// Abilities are shown as the battle spells from 65 up but learnt and priced as the
// skill of the same index: ability i shows spell 65 + i and teaches skill i + 1.
class THerbalistMerchant : public TMerchant {
public:
    THerbalistMerchant() : TMerchant(mtHerbalist) {}
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Spell ID index + 65; null when the global data have none.
    static const Data2::TSpellPrototype* GetAbilityPrototype(int index);

    uint32_t HealPrice = 0;
    uint32_t KeptValue = 0;
    TPriceTable AbilityPrices{}; // entry i: skill i + 1; 0 = not offered
};

class TCustomMerchant : public TMerchant {
public:
    TCustomMerchant() : TMerchant(mtCustom) {}
};

} // namespace GameData
