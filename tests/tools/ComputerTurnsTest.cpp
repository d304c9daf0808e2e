// The computer players of campaign level 1 play their turns in the game object: the
// same game plays the same way every time, and a game saved between turns plays on
// as it would have. The person at this machine ends each of its turns at once; a
// band of outlaws is set down beside the raiders so that there is a fight to pick.
#include "engine/core/Random.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/ai/AIHandler.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "tests/support/StateDigest.h"
#include "tests/tools/LevelFixture.h"
#include "ui/game/Game.h"
#include "ui/screens/CityWindow.h"
#include "ui/screens/FightDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <stdexcept>

namespace LevelTests {
namespace {

using namespace GameData;

constexpr int Outlaws = 0;
constexpr int Local = 1;
constexpr int Raiders = 2;
constexpr int OutlawPrototype = 3; // the sturdiest of the test data
constexpr int BandSize = 3;

// What the turns decided, without what only looks different from run to run (the
// frame count, idle glances and other visual variety, which follow the number of
// updates a turn took): every unit's place and statistics, every player's gold and
// planner records, and the game's random states.
class TPlayDigest {
public:
    explicit TPlayDigest(const TScenario& scenario) {
        for (const TUnit* unit : scenario.Units) {
            Add(unit->ID);
            const TMapObject* holder = unit->GetGroup();
            if (!holder)
                holder = unit->GetCity();
            Add(holder ? holder->ID : 0);
            Add(holder ? uint32_t(holder->CellX() << 16 | holder->CellY()) : 0);
            Add(&unit->Own, sizeof(unit->Own));
        }
        for (const TPlayer* player : scenario.Players) {
            Add(uint32_t(player->Gold));
            ClassLib::TMemoryStream records;
            player->AI->SaveToStream(records);
            Add(records.Memory(), size_t(records.GetSize()));
        }
        for (const Base::TRandomSeed& seed : {Base::RandomSeed, Base::AIRandomSeed}) {
            Add(seed.Low);
            Add(seed.High);
        }
    }
    uint64_t Value() const { return FHash; }

private:
    void Add(uint32_t value) { Add(&value, sizeof(value)); }
    void Add(const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i)
            FHash = (FHash ^ static_cast<const uint8_t*>(data)[i]) * 0x100000001B3ull;
    }
    uint64_t FHash = 0xCBF29CE484222325ull;
};

struct TSavedGame {
    std::vector<uint8_t> Scenario;
    Base::TRandomSeed Seed{};
    Base::TRandomSeed AISeed{};
    Base::TRandomSeed SavedSeed{};
};

class ComputerTurnsTest : public ::testing::Test {
protected:
    ComputerTurnsTest() {
        TLevelSet& levels = TLevelSet::Get();
        Data2::TGlobalData& global = *Data2::GlobalData;
        global.LevelCount = TLevelSet::LevelCount;
        levels.ScenarioFile(1);
        const std::string name = levels.Description(1).Stem + ".scn";
        std::strncpy(global.LevelFiles[0], name.c_str(), Data2::FileNameSize - 1);
        // Sight that reaches a few cells, and height steps that the levels' hills allow.
        std::copy(global.GameConstants, global.GameConstants + Data2::GameConstantCount,
                  FConstants.begin());
        global.GameConstants[Data2::gcSightDistanceScale] = 1;
        for (int i = 0; i < 3; ++i)
            global.GameConstants[Data2::gcFirstStepHeight + i] = 10 * (i + 1);
    }
    ~ComputerTurnsTest() override {
        std::copy(FConstants.begin(), FConstants.end(), Data2::GlobalData->GameConstants);
    }

    std::unique_ptr<Main::TGame> NewGame() {
        auto game = std::make_unique<Main::TGame>(&Windows);
        game->Screens.ScenarioBook = nullptr; // the briefing would wait for a reader
        game->FightDialog = std::make_unique<Main::TFightDialog>(&Windows, *game);
        return game;
    }

    void InstallTownWindow(Main::TGame& game) {
        auto window = std::make_unique<Main::TCityWindow>(&Windows, game);
        window->SetScenario(game.Scenario.get());
        game.TownWindow = std::move(window);
    }

    // Level 1 as a new campaign starts it, with the outlaws' band beside the raiders'
    // group.
    std::unique_ptr<Main::TGame> StartLevel() {
        auto game = NewGame();
        game->LoadScenario(Data2::GlobalData->LevelFiles[0], 1);
        TScenario& scenario = *game->Scenario;
        const TGroup* raiders = nullptr;
        for (const TMapObject* object : scenario.Objects)
            if (object->Kind == okGroup &&
                static_cast<const TGroup*>(object)->OwnerIndex == Raiders)
                raiders = static_cast<const TGroup*>(object);
        if (!raiders)
            throw std::runtime_error("level 1 has no raiders' group");
        TPlacementOptions options;
        options.NewID = true;
        options.AllowJoin = true;
        for (int i = 0; i < BandSize; ++i)
            BandIDs[size_t(i)] = scenario
                                     .PlaceNewUnit(Outlaws, raiders->TMapObject::CellX() - 1,
                                                   raiders->TMapObject::CellY(), options,
                                                   TestSupport::MakeUnit(OutlawPrototype))
                                     ->ID;
        InstallTownWindow(*game);
        Main::TGameParams params;
        params.Reset();
        Clock.Set(1000); // the single-player game seeds from the clock
        game->StartGame(params);
        return game;
    }

    // Plays until the computer players have ended that many turns; the digest of the
    // play after each. The person's turns end as soon as they have begun; onLocalTurn sees
    // each of them first, with the number of computer turns ended before it.
    std::vector<uint64_t> Play(Main::TGame& game, int computerTurns,
                               const std::function<void(Main::TGame&, size_t)>& onLocalTurn = {}) {
        TScenario& scenario = *game.Scenario;
        std::vector<uint64_t> digests;
        TPlayer* onTurn = scenario.CurrentPlayer;
        bool ending = false;
        // A hang, not a speed test.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (int(digests.size()) < computerTurns) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the game hangs in turn " << scenario.Turn << ", player "
                              << scenario.CurrentPlayerIndex;
                break;
            }
            game.Update();
            TPlayer* player = scenario.CurrentPlayer;
            if (player != onTurn) {
                if (onTurn->Type == ptComputer) {
                    // The next computer player may be planning already: its records are
                    // read under the world's lock.
                    const std::lock_guard<std::mutex> world(scenario.PlannerLock);
                    digests.push_back(TPlayDigest(scenario).Value());
                    // Units lost in the turn (the band's, to the raiders) have left every
                    // planner's records with its end.
                    for (const TPlayer* each : scenario.Players)
                        for (const AIHandler::TAIUnit* unit :
                             static_cast<const AIHandler::TAIHandler&>(*each->AI).AIUnits)
                            EXPECT_TRUE(!unit->Removed && unit->GetUnit())
                                << each->Name << " turn " << scenario.Turn;
                }
                onTurn = player;
                ending = false;
            }
            if (player->Type == ptLocal && !ending && !player->HasPendingAction() &&
                player->GetActionResult() == arDone) {
                if (onLocalTurn)
                    onLocalTurn(game, digests.size());
                player->PostAction(true, MakeAction(acEndTurn));
                ending = true;
            }
        }
        return digests;
    }

    std::array<uint32_t, BandSize> BandIDs{};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    DXWin::TDXWindowSystem Windows;

private:
    std::array<int32_t, Data2::GameConstantCount> FConstants{};
};

TEST_F(ComputerTurnsTest, TheSameGamePlaysTheSameWayEveryTime) {
    std::vector<std::vector<uint64_t>> runs;
    for (int run = 0; run < 3; ++run) {
        const auto game = StartLevel();
        runs.push_back(Play(*game, 10));
        // The raiders took the band on.
        const TUnit* band = game->Scenario->Units.FindByID(BandIDs[0]);
        EXPECT_TRUE(!band || band->Own.Value(HITPOINTS) < band->Own.AtLevel(HITPOINTS));
    }
    ASSERT_EQ(runs[0].size(), 10u);
    EXPECT_EQ(runs[1], runs[0]);
    EXPECT_EQ(runs[2], runs[0]);
}

TEST_F(ComputerTurnsTest, AGameSavedBetweenTurnsPlaysOnAsItWouldHave) {
    TSavedGame saved;
    size_t savedAfter = 0;
    std::vector<uint64_t> played;
    {
        const auto game = StartLevel();
        int localTurns = 0;
        // Saved as the person's second turn begins.
        played = Play(*game, 10, [&](Main::TGame& g, size_t computerTurnsEnded) {
            if (++localTurns != 2)
                return;
            savedAfter = computerTurnsEnded;
            saved.Scenario = TestSupport::SavedBytes(*g.Scenario);
            saved.Seed = Base::RandomSeed;
            saved.AISeed = Base::AIRandomSeed;
            saved.SavedSeed = Base::SavedRandomSeed;
        });
        ASSERT_FALSE(saved.Scenario.empty());
        ASSERT_EQ(played.size(), 10u);
        played.erase(played.begin(), played.begin() + std::ptrdiff_t(savedAfter));
    }

    auto game = NewGame();
    ClassLib::TMemoryStream stream(saved.Scenario);
    game->Scenario = GameData::LoadScenario(stream, &game->Services());
    game->Level = 1;
    InstallTownWindow(*game);
    Base::RandomSeed = saved.Seed;
    Base::AIRandomSeed = saved.AISeed;
    Base::SavedRandomSeed = saved.SavedSeed;
    TScenario& scenario = *game->Scenario;
    ASSERT_EQ(scenario.CurrentPlayerIndex, Local);
    scenario.SetViewingPlayer(scenario.PlayerAt(Local));
    game->Activate();
    EXPECT_EQ(Play(*game, int(played.size())), played);
}

} // namespace
} // namespace LevelTests
