// The command bar gives commands only for the viewing player's own turn and only while
// the scenario takes them: end of turn (asking first when the setting says so), the
// walk to the next own group, pitching or breaking camp; its buttons hide during
// another player's turn and are disabled while an action waits for its result.
#include "engine/app/DXApplication.h"
#include "engine/sound/SoundStartup.h"
#include "engine/widgets/DXButton.h"
#include "tests/engine/sound/SoundFrameworkFixture.h"
#include "tests/engine/widgets/WidgetFixture.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "ui/game/ButtonWindow.h"
#include "ui/game/Game.h"

#include <functional>
#include <memory>

namespace {

using namespace Main;
using namespace GameData;
using namespace Win32;

class CommandBar : public WidgetTest {
protected:
    static constexpr int WalkerID = 1;
    static constexpr uint8_t Red = 0, Blue = 1;

    CommandBar() {
        Data2::TUnitPrototype& walker = Data.AddUnitPrototype(WalkerID, "Walker");
        TestSupport::SetStat(walker.Stats, HITPOINTS, 30);
        TestSupport::SetStat(walker.Stats, ACTIONPOINTS, 100);
        // Steps between cells of one height are allowed.
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        DXApp::Application = &FApplication;
        FApplication.Create(
            GetModuleHandle(nullptr), "Varnholt", "VRNWindow", 0xA0, 100, nullptr,
            [this] { Windows.Tick(); }, nullptr, nullptr, nullptr, nullptr, nullptr,
            [this](UINT msg, WPARAM wParam, LPARAM lParam) {
                Windows.HandleMessage(msg, wParam, lParam);
            });
        FApplication.Active = true;
        World = std::make_unique<TestSupport::TTinyWorld>();
        Bar = new TButtonWindow(&Windows);
        Bar->SetScenario(World->Scenario.get());
        Bar->Show();
        Windows.ProcessRequests();
        Scenario().BeginTurnOf(Red);
    }
    ~CommandBar() override {
        Scenario().StopPlayerThreads();
        DXApp::Application = nullptr;
    }

    TScenario& Scenario() { return *World->Scenario; }
    TPlayer& Player(int index) { return World->Player(index); }
    TGroup* Group(uint8_t owner, int x, int y, bool withUnit = true) {
        TGroup* group = World->AddGroup(owner, x, y);
        if (withUnit)
            group->AddUnit(TestSupport::MakeUnit(WalkerID), true, false);
        return group;
    }
    // The action the player has posted, taken off it; code 0 when none.
    TPlayerAction Taken(int player = Red) { return Player(player).TakeAction(); }
    static void Post(UINT msg, WPARAM wParam) {
        PostMessage(DXApp::Application->Window, msg, wParam, 1);
    }
    // The player on turn without starting its turn (a computer's would start playing).
    void PutOnTurn(int index) {
        Scenario().CurrentPlayer = &Player(index);
        Scenario().CurrentPlayerIndex = int16_t(index);
    }

    TestSupport::TTestGameData Data;
    DXApp::TDXApplication FApplication;
    std::unique_ptr<TestSupport::TTinyWorld> World;
    TButtonWindow* Bar = nullptr; // the window system's
};

TEST_F(CommandBar, EndOfTurnIsPostedAtOnceOrAfterAYesToTheQuestion) {
    const struct {
        const char* Name;
        bool Confirm;
        char Answer; // 0: no question comes
        bool Posted;
    } cases[] = {
        {"not asked", false, 0, true},
        {"asked, yes", true, 13, true},
        {"asked, no", true, 27, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Bar->ConfirmEndTurn = [&c] { return c.Confirm; };
        if (c.Answer) {
            // The Enter that pressed the hot key leaves its character first: dropped.
            Post(WM_CHAR, 13);
            Post(WM_CHAR, WPARAM(c.Answer));
        }
        Bar->EndTurnClick();
        const TPlayerAction action = Taken();
        EXPECT_EQ(action.Code, c.Posted ? uint32_t(acEndTurn) : uint32_t(acNone));
        for (const uint32_t parameter : action.P)
            EXPECT_EQ(parameter, 0u);
        EXPECT_EQ(Windows.WindowCount(), 1); // the question is gone again
        Player(Red).SetActionResult(arDone);
    }
}

TEST_F(CommandBar, NextGroupWalksRoundTheObjectsFromTheSelection) {
    // In draw order: rows 2, 4, 6, 8.
    TGroup* first = Group(Red, 2, 2);
    TGroup* foreign = Group(Blue, 4, 4);
    TGroup* second = Group(Red, 6, 6);
    TGroup* stuck = Group(Red, 8, 8, false); // no unit: not a single step
    const struct {
        const char* Name;
        TGroup* Selected;
        bool WithAPs;
        TGroup* Next;
    } cases[] = {
        {"none selected", nullptr, false, first},
        {"after the first", first, false, second},
        {"past a foreign group", foreign, false, second},
        {"to a group that cannot move", second, false, stuck},
        {"round to the start", stuck, false, first},
        {"with points, skipping the stuck group", second, true, first},
        {"with points, none selected", nullptr, true, first},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Player(Red).SelectObject(c.Selected);
        if (c.WithAPs)
            Bar->NextGroupWithAPsClick();
        else
            Bar->NextGroupClick();
        const TPlayerAction action = Taken();
        EXPECT_EQ(action.Code, uint32_t(acSelectObject));
        EXPECT_EQ(action.P[0], c.Next->ID);
        Player(Red).SetActionResult(arDone);
    }
}

TEST_F(CommandBar, NextGroupFindsNothingBesideTheOnlyOwnGroup) {
    EXPECT_EQ(Scenario().Objects.Count(), 0);
    Bar->NextGroupClick();
    EXPECT_EQ(Taken().Code, uint32_t(acNone));

    TGroup* only = Group(Red, 3, 3);
    Group(Blue, 5, 5);
    Player(Red).SelectObject(only);
    Bar->NextGroupClick();
    Bar->NextGroupWithAPsClick();
    EXPECT_EQ(Taken().Code, uint32_t(acNone));
}

TEST_F(CommandBar, DeployOrPackByTheCampState) {
    TGroup* own = Group(Red, 3, 3);
    TGroup* foreign = Group(Blue, 6, 6);
    const struct {
        const char* Name;
        TGroup* Selected;
        int32_t Camp;
        uint32_t Code;
    } cases[] = {
        {"marching", own, csNone, acPitchCamp},       {"camp pitched", own, csPitched, acBreakCamp},
        {"setting up", own, csSettingUp, acNone},     {"packing", own, csPacking, acNone},
        {"a foreign group", foreign, csNone, acNone}, {"nothing selected", nullptr, csNone, acNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Player(Red).SelectObject(c.Selected);
        if (c.Selected)
            c.Selected->CampState = c.Camp;
        Bar->DeployPackClick();
        const TPlayerAction action = Taken();
        EXPECT_EQ(action.Code, c.Code);
        if (c.Code != acNone) {
            EXPECT_EQ(action.P[0], own->ID);
            Player(Red).SetActionResult(arDone);
        }
    }
}

TEST_F(CommandBar, ButtonsHideForAnotherPlayersTurnAndWaitWhileAnActionIsPending) {
    const auto allButtons = [this](const std::function<bool(const DXWin::TDXButton&)>& test) {
        for (int i = 0; i < CommandButtonCount; ++i)
            if (!test(*Bar->Button(TCommandButton(i))))
                return false;
        return true;
    };
    const auto clickEverything = [this] {
        Bar->EndTurnClick();
        Bar->NextGroupClick();
        Bar->NextGroupWithAPsClick();
        Bar->DeployPackClick();
        Bar->DiaryClick();
        Bar->MainMenuClick();
    };
    Bar->ConfirmEndTurn = [] { return false; };
    Player(Red).SelectObject(Group(Red, 3, 3));
    Windows.Tick();
    EXPECT_TRUE(allButtons([](const DXWin::TDXButton& b) { return b.Visible() && b.Enabled(); }));

    PutOnTurn(Blue);
    Windows.Tick();
    EXPECT_TRUE(allButtons([](const DXWin::TDXButton& b) { return !b.Visible(); }));
    clickEverything();
    EXPECT_EQ(Taken(Red).Code, uint32_t(acNone));
    EXPECT_EQ(Taken(Blue).Code, uint32_t(acNone));

    // Red's own turn with its last action still waiting: shown, disabled, and the hot
    // keys post nothing over it.
    PutOnTurn(Red);
    Player(Red).PostAction(true, MakeAction(acReport, 1));
    Windows.Tick();
    EXPECT_TRUE(allButtons([](const DXWin::TDXButton& b) { return b.Visible() && !b.Enabled(); }));
    clickEverything();
    EXPECT_EQ(Taken(Red).Code, uint32_t(acReport));
}

TEST_F(CommandBar, TooltipsNameTheHotKeys) {
    const struct {
        TCommandButton Button;
        const char* Hint;
    } cases[] = {
        {cbEndTurn, "End of turn [Enter/Num7]"},
        {cbNextGroup, "Next group [Num*/Num8]"},
        {cbNextGroupWithAPs, "Next group with APs [Num+/Num9]"},
        {cbDeployPack, "Deploy/Pack group [T/Num3]"},
        {cbCreaturePedia, "Creaturepedia [C/Num1]"},
        {cbDiary, "Diary [D/Num2]"},
        {cbMainMenu, "Main menu [Esc/Num5]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bar->Button(c.Button)->Hint(), c.Hint);
    EXPECT_EQ(Bar->GetScreenRect().left, 655);
    EXPECT_EQ(Bar->GetScreenRect().bottom, 600);
    EXPECT_EQ(Bar->Button(cbNextGroup)->GetScreenRect().top, 454);
}

// Screens that come later answer through the game's message line; the encyclopedia
// needs no turn of one's own.
TEST_F(CommandBar, DiaryMenuAndEncyclopediaAskTheGame) {
    Main::Game = std::make_unique<TGame>(&Windows);
    const auto lastMessage = [] {
        return Main::Game->Messages().empty() ? std::string() : Main::Game->Messages().back();
    };
    Bar->DiaryClick();
    EXPECT_EQ(lastMessage(), "The diary is not available yet.");
    Bar->MainMenuClick();
    EXPECT_EQ(lastMessage(), "The main menu is not available yet.");
    PutOnTurn(Blue);
    Bar->Button(cbCreaturePedia)->Click();
    EXPECT_EQ(lastMessage(), "The creature encyclopedia is not available yet.");
    const size_t shown = Main::Game->Messages().size();
    Bar->DiaryClick();
    Bar->MainMenuClick();
    EXPECT_EQ(Main::Game->Messages().size(), shown);
    Main::Game.reset();
}

// Every command plays the click at the interface's effect volume; a group setting up its
// camp gets the click and nothing else.
TEST_F(CommandBar, ACommandClicksAtTheEffectVolume) {
    Win32::TManualSoundOutput output;
    Win32::TScopedSoundOutput useOutput{output};
    SoundFrameworkTesting::TTestStream click{50000};
    DSFramework = std::make_unique<DSFrame::TDSFramework>(nullptr);
    DSFramework->Init(-1, DSFrame::dsoPlayPrimary | DSFrame::dsoExclusiveLevel, 6, 2, 500, 44100,
                      16, 2);
    Data.Global().InterfaceSounds[0] = &click;
    Data.SetConstant(Data2::gcInterfaceVolume, 60);
    const auto clicks = [] {
        int playing = 0;
        for (int track = 0; track < DSFramework->TrackCount(); ++track) {
            const DSFrame::TTrackRecord& record = DSFramework->Track(track);
            if (record.State.load() & DSFrame::tsPlaying) {
                EXPECT_EQ(record.Volume, 60);
                ++playing;
            }
        }
        DSFramework->StopAll();
        return playing;
    };
    TGroup* group = Group(Red, 3, 3);
    group->CampState = csSettingUp;
    Player(Red).SelectObject(group);
    Bar->DeployPackClick();
    EXPECT_EQ(clicks(), 1);
    EXPECT_EQ(Taken().Code, uint32_t(acNone));
    Bar->NextGroupClick();
    EXPECT_EQ(clicks(), 1);
    Player(Red).SetActionResult(arDone);
    // Another player's turn: no command, no click.
    PutOnTurn(Blue);
    Bar->NextGroupClick();
    EXPECT_EQ(clicks(), 0);
    Data.Global().InterfaceSounds[0] = nullptr;
    DSFramework.reset();
}

} // namespace
