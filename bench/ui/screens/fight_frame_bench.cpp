// One frame of the fight screen with the generated game data: the battle picture, six
// fighters with their panels, badges and planned commands, the three buttons and a
// battle spell in flight, drawn into the 800 x 600 back buffer, against a memcpy of
// the back buffer.
#include "bench/RatioReporter.h"
#include "bench/ui/LevelGame.h"
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/graphics/Sprite.h"
#include "engine/widgets/DXButton.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/spells/SpellVisual.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "tests/support/UnitBuilder.h"
#include "tests/ui/screens/FightDrawingProbe.h"
#include "ui/game/Game.h"
#include "ui/game/UnitInfoControl.h"
#include "ui/screens/FightDialog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Level = 3;
constexpr int MissileSpell = 77;

// Two groups of the level, each filled to three units, fighting in the round's
// showing of the commands, with a missile on its way across the field.
struct TFightScreen : Bench::TLevelGame {
    TFightScreen() : TLevelGame(VRN_PROGRAM_DIR, Level) {
        // The map once, so that the map window's picture exists behind the field.
        DrawMap();
        PickGroups();
        Dialog = std::make_unique<Main::TFightDialog>(&Windows, *Main::Game);
        Main::TFightDrawingProbe::SetGroups(*Dialog, *Attacker, *Defender);
        SetUpField();
        StartSpell();
    }
    ~TFightScreen() { Dialog.reset(); }

    void DrawMap() {
        Win32::IDirect3DDevice7& device = *D3DFrame::D3DFramework->Device();
        device.BeginScene();
        Windows.Draw(D3DFrame::D3DFramework->BackBuffer());
        device.EndScene();
    }

    void PickGroups() {
        GameData::TScenario& scenario = *Main::Game->Scenario;
        for (int i = 0; i < scenario.Objects.Count(); ++i) {
            auto* group = dynamic_cast<GameData::TGroup*>(scenario.Objects[i]);
            if (!group || group->UnitCount() == 0 || !group->GetOwner())
                continue;
            if (!Attacker)
                Attacker = group;
            else if (group->GetOwner() != Attacker->GetOwner()) {
                Defender = group;
                break;
            }
        }
        if (!Attacker || !Defender)
            throw std::runtime_error("level 3 has no two groups of different owners");
        for (GameData::TGroup* group : {Attacker, Defender})
            while (group->UnitCount() < GameData::SideSlotCount)
                group->AddUnit(TestSupport::MakeUnit(group->UnitAt(0)->Prototype->ID), true, false);
    }

    // Attackers in the second column, defenders in the fifth, each attacking the one
    // opposite; one defender casts on itself.
    void SetUpField() {
        for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
            const bool attacker = slot < GameData::FirstDefenderSlot;
            const int row = attacker ? slot : slot - GameData::FirstDefenderSlot;
            GameData::TUnit* unit = Dialog->Battle.UnitAt(slot);
            unit->AcquireBattleIdleSprites();
            Main::TUnitData& data = Dialog->Units[size_t(slot)];
            data.X = 64 * (attacker ? 1 : 4) + 32;
            data.Y = 64 * (2 * row) + 64;
            data.Direction = attacker ? 2 : 6;
            data.Anim = Main::faIdle;
            data.SpriteFlags = Main::fsIdle;
            Dialog->Panels[size_t(slot)]->SetUnit(unit);
            Dialog->Battle.Slots[size_t(slot)] = {1, GameData::bcAttack, -1,
                                                  attacker ? slot + 3 : slot - 3};
        }
        Dialog->Battle.Slots[4] = {1, GameData::bcCastSpell, MissileSpell, 4};
        Dialog->Phase = Main::fpShowCommands;
        Dialog->StatusText = "Battle initiated...";
        for (DXWin::TDXButton* button :
             {Dialog->AutoButton, Dialog->FleeButton, Dialog->AcceptButton}) {
            button->Show();
            button->Enable();
        }
        Dialog->Show();
        Windows.ProcessRequests();
    }

    void StartSpell() {
        const int index = Data2::GlobalData->FindSpell(MissileSpell);
        if (index < 0)
            throw std::runtime_error("the generated data have no spell 77");
        Dialog->CurrentSpell = std::make_unique<GameData::TSpell>();
        Dialog->CurrentSpell->SetPrototype(&Data2::GlobalData->SpellPrototypes[index], 100);
        Dialog->CurrentSpell->PlaySound = [](Audio::TAudioStream*, int32_t) {};
        RestartSpell();
    }
    void RestartSpell() {
        const Main::TUnitData& from = Dialog->Units[0];
        const Main::TUnitData& to = Dialog->Units[5];
        GameData::TSpell& spell = *Dialog->CurrentSpell;
        spell.StartSpellAnimation(from.X, from.Y, to.Y, to.X);
        // Into the flight.
        for (int tick = 0; tick < 20; ++tick)
            spell.Advance();
    }

    // What the application's update and render do for the fight screen's drawing: the
    // fighters' idle frames and the spell move on, then the frame is drawn.
    void Frame() {
        ++Application.TickCount;
        for (Main::TUnitData& data : Dialog->Units)
            data.Frame = data.CurrentSprite && data.CurrentSprite->FrameCount() > 0
                             ? (data.Frame + 1) % data.CurrentSprite->FrameCount()
                             : 0;
        Dialog->CurrentSpell->Advance();
        if (Dialog->CurrentSpell->Finished)
            RestartSpell();
        ++Dialog->TotalTicks;
        Win32::IDirect3DDevice7& device = *D3DFrame::D3DFramework->Device();
        Win32::IDirectDrawSurface7* back = D3DFrame::D3DFramework->BackBuffer();
        device.BeginScene();
        Dialog->Paint(back);
        device.EndScene();
    }

    GameData::TGroup* Attacker = nullptr;
    GameData::TGroup* Defender = nullptr;
    std::unique_ptr<Main::TFightDialog> Dialog;
};

TFightScreen& Screen() {
    static TFightScreen screen;
    return screen;
}

void BM_FightFrame(benchmark::State& state) {
    TFightScreen& screen = Screen();
    for (auto _ : state)
        screen.Frame();
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_FightFrame)->Unit(benchmark::kMillisecond);

void BM_BackBufferMemcpy(benchmark::State& state) {
    Bench::MeasureBackBufferMemcpy(state);
}
BENCHMARK(BM_BackBufferMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_FightFrame", "BM_BackBufferMemcpy", 0.0);
        const Bench::TSpread frame = r.Rate("BM_FightFrame");
        std::printf("  fight frame best %.3f ms, median %.3f ms (target at most 2 ms)\n",
                    1000.0 / frame.Max, 1000.0 / frame.Median);
    });
}
