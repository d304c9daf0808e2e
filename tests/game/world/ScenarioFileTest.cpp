// The stored scenario: a populated world loads back byte for byte, the header's
// checks, counts and indices refused, truncation anywhere, quests and conversations
// held back until scripting exists, and a failed load leaving nothing behind.
#include "game/world/scenario/ScenarioHeader.h"
#include "tests/game/world/CityGroupFixture.h"
#include "tests/support/StateDigest.h"

#include <cstring>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;
using TestSupport::LoadedScenario;
using TestSupport::SavedBytes;

constexpr size_t HeaderOffset = 4; // after the scenario's identifier
// Everything after the quest list in the world below, whose five lists there hold
// one entry each: loose units, maximum level, back sounds, four music values,
// battle backgrounds, globals, required and waiting units, transfer limit.
constexpr size_t TailAfterQuests = 8 + 4 + 12 + 16 + 12 + 4096 + 12 + 12 + 4;

class ScenarioFileTest : public CityGroupTest {
protected:
    // Groups with units, a city with a defender and a visitor, a loose unit, and
    // values in every section the world does not fill by itself.
    ScenarioFileTest() {
        TGroup* red = World->AddGroup(Red, 2, 2);
        red->AddUnit(Make(SoldierID), true, false);
        red->AddUnit(Make(HeroID), true, false);
        World->AddGroup(Blue, 9, 9)->AddUnit(Make(BeastID), true, false);
        TCity* city = World->AddCity(Blue, 6, 6);
        city->AddDefender(0, Scenario().RegisterUnit(Make(SoldierID), true), false);
        city->AddOtherUnit(Make(HeroID), true, false);
        Scenario().LooseUnits.Add(Scenario().RegisterUnit(Make(BeastID), true));
        Scenario().SetGlobalAlias("Gate opened", 7);
        Scenario().Globals[7] = -3;
        Scenario().Weather = 2;
        Scenario().WeatherCounters = {0, 200, 0, 0, 150, 0};
        Scenario().SnowFlakes[3]->State = 0;
        Scenario().SnowFlakes[3]->X = 77;
        Scenario().Briefing = "Hold the pass.";
        Scenario().Description = "Tiny";
        Scenario().BackSounds.Add(4);
        Scenario().BattleBackgrounds.Add(9);
        Scenario().RequiredUnitIDs.Add(red->Units[1]->ID);
        Scenario().WaitingUnitIDs.Add(Scenario().LooseUnits[0]->ID);
        Scenario().MaxTransferUnits = 5;
        Scenario().MaxUnitLevel = 12;
        Scenario().Turn = 3;
        Scenario().CurrentPlayerIndex = 1;
        Scenario().CurrentPlayer = &Player(1);
        Scenario().Networked = 17;
        Scenario().HeaderValue = 3;
        Player(0).Texts1.Add("met the hermit");
        Player(2).MetPrototypes.Add(3);
        Scenario().UpdatePlayerVisibility(Scenario().CurrentPlayer);
    }

    std::vector<uint8_t> Saved() { return SavedBytes(Scenario()); }
    static std::string LoadError(const std::vector<uint8_t>& bytes) {
        return ErrorOf([&] { LoadedScenario(bytes); });
    }
    template <typename T>
    static void Put(std::vector<uint8_t>& bytes, size_t offset, T value) {
        std::memcpy(bytes.data() + offset, &value, sizeof(value));
    }
};

TEST_F(ScenarioFileTest, APopulatedWorldLoadsBackByteForByte) {
    const std::vector<uint8_t> bytes = Saved();
    const auto loaded = LoadedScenario(bytes);
    EXPECT_EQ(SavedBytes(*loaded), bytes);

    EXPECT_EQ(loaded->Width, 12);
    EXPECT_EQ(loaded->PlayerCount(), 3);
    EXPECT_EQ(loaded->CurrentPlayer, loaded->Players[1]);
    EXPECT_EQ(loaded->Turn, 3);
    EXPECT_EQ(loaded->Units.Count(), Scenario().Units.Count());
    ASSERT_EQ(loaded->LooseUnits.Count(), 1);
    EXPECT_EQ(loaded->LooseUnits[0]->ID, Scenario().LooseUnits[0]->ID);
    EXPECT_EQ(loaded->GlobalAliasIndex("Gate opened"), 7);
    EXPECT_EQ(loaded->SnowFlakes[3]->X, 77);
    EXPECT_EQ(loaded->Players[0]->Texts1[0], "met the hermit");
    // Every unit is at home in the same kind of place.
    for (const TUnit* unit : Scenario().Units) {
        const TUnit* copy = loaded->Units.GetByID(unit->ID);
        EXPECT_EQ(unit->GetGroup() != nullptr, copy->GetGroup() != nullptr) << unit->ID;
        EXPECT_EQ(unit->GetCity() != nullptr, copy->GetCity() != nullptr) << unit->ID;
    }
    // The loaded world's own identifiers continue above every stored one.
    EXPECT_EQ(loaded->NewObjectID(), Scenario().NewObjectID());
}

TEST_F(ScenarioFileTest, TheHeaderIsChecked) {
    struct TCase {
        const char* What;
        size_t Offset;
        std::vector<uint8_t> Bytes;
        const char* Error;
    };
    const std::vector<TCase> cases = {
        {"version 18", 76, {18, 0, 0, 0}, "Invalid version:18 Current version is: 19"},
        {"signature", 0, {'S', 'C', 'E', 'X'}, "Invalid data."},
        {"width 130", 4, {130, 0}, "Invalid data."},
        {"width 6", 4, {6, 0}, "Invalid data."},
        {"height 0", 6, {0, 0}, "Invalid data."},
        {"negative width", 4, {0xFC, 0xFF}, "Invalid data."},
        {"unterminated name", 24, std::vector<uint8_t>(16, 'a'), "Invalid data."},
        {"current player 3 of 3", 72, {3, 0}, "Invalid data."},
        {"current player -2", 72, {0xFE, 0xFF}, "Invalid data."},
    };
    const std::vector<uint8_t> bytes = Saved();
    for (const TCase& c : cases) {
        std::vector<uint8_t> broken = bytes;
        std::memcpy(broken.data() + HeaderOffset + c.Offset, c.Bytes.data(), c.Bytes.size());
        EXPECT_EQ(LoadError(broken), c.Error) << c.What;
    }
    // The list of scenarios reads the header alone.
    ClassLib::TMemoryStream stream(bytes);
    stream.ReadValue<uint32_t>();
    TScenarioThumbNail thumbNail;
    ReadScenarioHeader(stream, thumbNail);
    EXPECT_EQ(thumbNail.Description, "Tiny");
    EXPECT_EQ(thumbNail.Header.Networked, 17u);
    EXPECT_EQ(thumbNail.Header.HeaderValue, 3u);
}

TEST_F(ScenarioFileTest, AnyTruncationFailsAndLeavesNothingBehind) {
    const std::vector<uint8_t> bytes = Saved();
    // Every byte of the header and the first sections, then a spread over the rest.
    for (size_t size = 0; size < bytes.size(); size += size < 200 ? 1 : 211) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        TScenario target;
        ClassLib::TMemoryStream stream(cut);
        EXPECT_NE(ErrorOf([&] { target.LoadFromStream(&stream); }), "no error") << size;
        EXPECT_EQ(target.Width, 0) << size;
        EXPECT_EQ(target.Objects.Count(), 0) << size;
        EXPECT_EQ(target.Units.Count(), 0) << size;
        EXPECT_EQ(target.PlayerCount(), 0) << size;
    }
}

TEST_F(ScenarioFileTest, AFailedLoadLeavesTheRunningGameAsItWas) {
    const std::vector<uint8_t> bytes = Saved();
    std::vector<uint8_t> broken = bytes;
    broken.resize(broken.size() - 10);
    std::unique_ptr<TScenario> running = LoadedScenario(bytes);
    const uint64_t before = TestSupport::StateDigest(*running);
    ClassLib::TMemoryStream stream(broken);
    EXPECT_ANY_THROW(running = LoadScenario(stream, running.get()));
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(TestSupport::StateDigest(*running), before);
}

TEST_F(ScenarioFileTest, StoredCountsAndIdentifiersAreChecked) {
    const std::vector<uint8_t> bytes = Saved();
    const size_t conversations = bytes.size() - TailAfterQuests - 12 - 4;
    const size_t quests = bytes.size() - TailAfterQuests - 4;
    const size_t looseCount = bytes.size() - TailAfterQuests;
    const size_t looseID = looseCount + 4;
    ASSERT_EQ(std::memcmp(bytes.data() + quests - 4, "list", 4), 0);
    ASSERT_EQ(std::memcmp(bytes.data() + conversations - 4, "list", 4), 0);

    struct TCase {
        const char* What;
        size_t Offset;
        uint32_t Value;
        std::string Error;
    };
    const std::vector<TCase> cases = {
        {"a conversation", conversations, 1, "Conversations need the scripting library."},
        {"a quest", quests, 2, "Quests need the scripting library."},
        {"negative loose count", looseCount, 0xFFFFFFFF, "Invalid data."},
        {"huge loose count", looseCount, 0x10000000, "Invalid data."},
        {"loose unit 0", looseID, 0, "Invalid data."},
        {"unknown loose unit", looseID, 99999, "Object with given ID not found (99999)."},
    };
    for (const TCase& c : cases) {
        std::vector<uint8_t> broken = bytes;
        Put(broken, c.Offset, c.Value);
        EXPECT_EQ(LoadError(broken), c.Error) << c.What;
    }
}

TEST_F(ScenarioFileTest, PlayerCountsOutsideThreeToFiveAreRefused) {
    Scenario().CurrentPlayerIndex = -1;
    Scenario().CurrentPlayer = nullptr;
    while (Scenario().PlayerCount() < MaxPlayers)
        Scenario().AddPlayer(std::make_unique<TPlayer>(&Scenario()));
    for (int count = MaxPlayers; count >= 0; --count) {
        SCOPED_TRACE(testing::Message() << count << " players");
        EXPECT_EQ(LoadError(Saved()), count >= 3 ? "no error" : "Invalid data.");
        if (count > 0)
            Scenario().Players.Delete(count - 1);
    }
}

TEST_F(ScenarioFileTest, SideFilesNeedTheScenarioArchive) {
    Scenario().BackgroundFileName = "level1.bkg";
    EXPECT_EQ(LoadError(Saved()), "Archive 'scenario' not found.");
    Scenario().BackgroundFileName = "thirteen.char";
    EXPECT_EQ(ErrorOf([&] { Saved(); }),
              "The file name 'thirteen.char' is longer than 12 characters.");
}

} // namespace
} // namespace CityGroupTests
