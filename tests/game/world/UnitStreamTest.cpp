// A unit's stored form: field by field, little-endian, read back byte for byte, and
// refused when its prototype is unknown or its numbers cannot hold.
#include "tests/game/world/UnitFixture.h"

#include "tests/support/ErrorOf.h"

#include <cstring>

namespace UnitTests {
namespace {

using ClassLib::TMemoryStream;
using TestSupport::ErrorOf;

std::vector<uint8_t> Saved(const TUnit& unit) {
    TMemoryStream stream;
    unit.SaveToStream(&stream);
    return stream.Bytes();
}

void Load(TUnit& unit, std::vector<uint8_t> bytes) {
    TMemoryStream stream(std::move(bytes));
    unit.LoadFromStream(&stream);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// After the identifier (0) and prototype (4): Own (8), creature type (136), hero
// flag (144), the name's length (145) and its 8 letters, the effect count (157),
// two effects of 148 bytes (161), the marker (457).
constexpr size_t EffectCountOffset = 157;
constexpr size_t FirstEffectOffset = 161;
constexpr size_t SavedSize = 458;

class UnitStreamTest : public UnitTest {
protected:
    UnitStreamTest() {
        Unit = TestSupport::MakeUnit(SoldierID);
        Unit->ID = 42;
        Unit->Name = "Sir Test";
        Unit->Marker = 7;
        Unit->CreatureType = -2;
        Unit->IsHero = 1;
        Unit->AddHitPoints(-4);
        auto effect = AttackEffect(5, 3, 2); // ATTACK + 3 for 2 turns
        effect->Renewed = 1;
        effect->Reserved = 9;
        effect->Icon = reinterpret_cast<Gfx::TSprite*>(uintptr_t(0x1234));
        Unit->AddEffect(std::move(effect));
        Unit->AddEffect(AttackEffect(ekSkillBase + 2, 4, 6));
    }
    std::unique_ptr<TUnit> Unit;
};

TEST_F(UnitStreamTest, RoundTripsByteForByte) {
    const std::vector<uint8_t> bytes = Saved(*Unit);
    ASSERT_EQ(bytes.size(), SavedSize);
    EXPECT_EQ(U32At(bytes, 0), 42u);
    EXPECT_EQ(U32At(bytes, 4), uint32_t(SoldierID));
    EXPECT_EQ(std::memcmp(bytes.data() + 8, &Unit->Own, sizeof(TUnitStats)), 0);
    EXPECT_EQ(U32At(bytes, 136), 0xFFFFFFFEu); // -2 in 64 bits
    EXPECT_EQ(U32At(bytes, 140), 0xFFFFFFFFu);
    EXPECT_EQ(bytes[144], 1);
    EXPECT_EQ(U32At(bytes, 145), 8u);
    EXPECT_EQ(U32At(bytes, EffectCountOffset), 2u);
    // Kind, renewed flag and icon slot at 136, 140, 144 of the record: no pointer stored.
    EXPECT_EQ(U32At(bytes, FirstEffectOffset + 128), 2u); // duration
    EXPECT_EQ(U32At(bytes, FirstEffectOffset + 132), 9u);
    EXPECT_EQ(U32At(bytes, FirstEffectOffset + 136), 5u);
    EXPECT_EQ(U32At(bytes, FirstEffectOffset + 140), 1u);
    EXPECT_EQ(U32At(bytes, FirstEffectOffset + 144), 0u);
    EXPECT_EQ(bytes[SavedSize - 1], 7);

    TUnit loaded;
    Load(loaded, bytes);
    EXPECT_EQ(Saved(loaded), bytes);
    EXPECT_EQ(loaded.Prototype, Unit->Prototype);
    EXPECT_EQ(loaded.Name, "Sir Test");
    ASSERT_EQ(loaded.Effects.Count(), 2);
    EXPECT_EQ(loaded.Effects[0]->Icon, nullptr);
    EXPECT_EQ(loaded.Effective.Value(ATTACK), 20 + 3 + 4);
    EXPECT_EQ(loaded.Effective.Value(HITPOINTS), 26);
}

TEST_F(UnitStreamTest, UnknownPrototype) {
    std::vector<uint8_t> bytes = Saved(*Unit);
    PutU32(bytes, 4, 99);
    TUnit loaded;
    TMemoryStream stream(bytes);
    EXPECT_THROW(loaded.LoadFromStream(&stream), Data::EInvalidData);
    EXPECT_EQ(ErrorOf([&] { Load(loaded, bytes); }), "Prototype not found.");
    PutU32(bytes, 4, 0); // saved without a prototype
    EXPECT_EQ(ErrorOf([&] { Load(loaded, bytes); }), "Prototype not found.");
}

TEST_F(UnitStreamTest, RefusesNumbersThatCannotHold) {
    struct TCase {
        const char* What;
        std::function<void(std::vector<uint8_t>&)> Change;
        const char* Error;
    };
    const TCase cases[] = {
        {"level 1", [](auto& b) { b[8] = 1; }, "no error"},
        {"level 20", [](auto& b) { b[8] = 20; }, "no error"},
        {"level 0", [](auto& b) { b[8] = 0; }, "Invalid data."},
        {"level 21", [](auto& b) { b[8] = 21; }, "Invalid data."},
        {"level -1", [](auto& b) { b[8] = b[9] = 0xFF; }, "Invalid data."},
        {"three effects in the room of two", [](auto& b) { PutU32(b, EffectCountOffset, 3); },
         "Invalid data."},
        {"an effect count with its top bit set",
         [](auto& b) { PutU32(b, EffectCountOffset, 0xFFFFFFFF); }, "Invalid data."},
        {"a name longer than the stream", [](auto& b) { PutU32(b, 145, 1000); }, "Invalid data."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<uint8_t> bytes = Saved(*Unit);
        c.Change(bytes);
        TUnit loaded;
        EXPECT_EQ(ErrorOf([&] { Load(loaded, bytes); }), c.Error);
    }
    // Cut short anywhere: an error, never a crash.
    const std::vector<uint8_t> bytes = Saved(*Unit);
    for (size_t size = 0; size < bytes.size(); size += 7) {
        TUnit loaded;
        EXPECT_NE(ErrorOf([&] {
                      Load(loaded, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(size)));
                  }),
                  "no error")
            << size;
    }
}

} // namespace
} // namespace UnitTests
