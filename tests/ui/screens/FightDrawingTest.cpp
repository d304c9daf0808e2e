// How the fight screen looks: fighters in depth order with the fallen underneath, the
// planned commands of a side hidden from the other while it chooses, badges over every
// living fighter, and the battle spells' particles.
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/Sprite.h"
#include "engine/widgets/DXButton.h"
#include "game/spells/SpellVisual.h"
#include "game/world/data/Prototypes.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Streams.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tests/ui/screens/FightDrawingProbe.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "tools/SpriteWriter.h"
#include "ui/game/Game.h"
#include "ui/game/UnitInfoControl.h"
#include "ui/screens/FightDialog.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using namespace GameData;
using namespace Main;

TEST(FightDrawOrder, TheFallenFirstThenFromTheBackThenFromTheRight) {
    const auto unit = [](int anim, int x, int y) {
        TUnitData data;
        data.Anim = anim;
        data.X = x;
        data.Y = y;
        return data;
    };
    struct TRow {
        TUnitData A, B;
        bool ABeforeB, BBeforeA;
    };
    const TRow rows[] = {
        {unit(faDead, 0, 300), unit(faIdle, 0, 10), true, false},
        {unit(faDying, 50, 300), unit(faStriking, 0, 10), true, false},
        {unit(faFlinching, 0, 300), unit(faDead, 0, 10), false, true},
        {unit(faIdle, 0, 10), unit(faWalking, 0, 20), true, false},
        {unit(faIdle, 40, 20), unit(faIdle, 10, 20), true, false},
        {unit(faDead, 40, 20), unit(faDying, 10, 20), true, false},
        {unit(faIdle, 10, 20), unit(faCasting, 10, 20), false, false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "A anim " << row.A.Anim << " at " << row.A.X << ","
                                        << row.A.Y << ", B anim " << row.B.Anim);
        EXPECT_EQ(TFightDialog::CompareDrawOrder(row.A, row.B), row.ABeforeB);
        EXPECT_EQ(TFightDialog::CompareDrawOrder(row.B, row.A), row.BBeforeA);
    }
}

constexpr int Fighter = 3;
constexpr uint32_t IdleSprite = 100, DeathSprite = 200;
constexpr uint32_t IdleColour = 0xFF2080C0, DeathColour = 0xFFC04020;
constexpr uint32_t AttackColour = 0xFFFF0000, OtherColour = 0xFF00FF00;
constexpr int Left = 208, Top = 150; // the field's origin on the screen

uint16_t Packed(uint32_t colour) {
    return Gfx::PackColor565(colour & 0xFFFFFF);
}

class FightDrawing : public GameWidgetDrawingTest {
protected:
    FightDrawing() {
        Data2::TUnitPrototype& fighter = Data.AddUnitPrototype(Fighter, "Fighter");
        TestSupport::SetStat(fighter.Stats, HITPOINTS, 30);
        fighter.SpriteIDs[usBattleIdle][0] = int32_t(IdleSprite);
        fighter.SpriteIDs[usBattleDeath][0] = int32_t(DeathSprite);
        OpenCreatures();
        World = std::make_unique<TestSupport::TTinyWorld>();
        Game = std::make_unique<TGame>(&Windows);
        Dialog = new TFightDialog(&Windows, *Game);
        Dialog->Show();
        Windows.ProcessRequests();
        Attackers = World->AddGroup(0, 2, 2);
        Defenders = World->AddGroup(1, 3, 2);
    }
    ~FightDrawing() override {
        delete Dialog;
        for (Gfx::TSprite*& sprite : Data2::GlobalData->CommonSprites)
            sprite = nullptr;
    }

    // 40 x 40 battle sprites of one colour each, their hot spot at the top-left corner.
    void OpenCreatures() {
        std::vector<Tools::TBytes> records;
        for (const auto& [id, colour] :
             {std::pair{IdleSprite, IdleColour}, std::pair{DeathSprite, DeathColour}}) {
            Tools::TSpriteOptions options;
            options.ID = id;
            records.push_back(Tools::EncodeSprite(
                {SpriteTests::Picture(40, 40, [colour](int, int) { return colour; })}, options));
        }
        Data2::GlobalData->CreatureLibrary.OpenDirectory(
            std::make_unique<ClassLib::TMemoryStream>(Tools::EncodeSpriteLibrary(1, records)));
    }
    // A blended 8 x 8 square with its device surfaces, as the global data prepares the
    // beams.
    Gfx::TSprite* Blended(uint32_t argb) {
        Tools::TSpriteOptions options;
        options.BlendMode = 0xFF;
        options.HotSpotX = options.HotSpotY = 4;
        Gfx::TSprite* sprite =
            Sprites
                .emplace_back(SpriteTests::LoadSprite(
                    Tools::EncodeSprite(
                        {SpriteTests::Picture(8, 8, [=](int, int) { return argb; })}, options),
                    Gfx::sfConvert))
                .get();
        sprite->PrepareSurfaces(false);
        return sprite;
    }
    TUnit* AddFighter(TGroup& group, int16_t hitPoints = 30) {
        TUnit* unit = group.AddUnit(TestSupport::MakeUnit(Fighter, hitPoints), true, false);
        return unit;
    }
    void Place(int slot, int x, int y, int anim = faIdle) {
        TUnitData& data = Dialog->Units[size_t(slot)];
        data.X = x;
        data.Y = y;
        data.Anim = anim;
        data.Frame = 0;
    }
    void StartFight() { TFightDrawingProbe::SetGroups(*Dialog, *Attackers, *Defenders); }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TestSupport::TTinyWorld> World;
    std::unique_ptr<TGame> Game;
    TFightDialog* Dialog = nullptr;
    TGroup* Attackers = nullptr;
    TGroup* Defenders = nullptr;
};

TEST_F(FightDrawing, ASideDoesNotSeeTheOtherSidesCommandsWhileTheyAreChosen) {
    Data2::GlobalData->CommonSprites[1050] = Blended(AttackColour);
    Data2::GlobalData->CommonSprites[1051] = Blended(OtherColour);
    for (int i = 0; i < 2; ++i) {
        AddFighter(*Attackers);
        AddFighter(*Defenders);
    }
    StartFight();
    // Attacker 0 strikes at defender 4 along one row; defender 3 at attacker 1 along
    // another; defender 4 guards defender 3 along a column.
    Place(0, 32, 32);
    Place(4, 352, 32);
    Place(3, 352, 352);
    Place(1, 32, 352);
    Dialog->Battle.Slots[0] = {1, bcAttack, -1, 4};
    Dialog->Battle.Slots[3] = {1, bcAttack, -1, 1};
    Dialog->Battle.Slots[4] = {1, bcGuard, -1, 3};
    const auto shown = [this](uint32_t colour, int x, int y) { return At(x, y) == Packed(colour); };

    Dialog->Phase = fpAttackerCommands;
    DrawFrame();
    EXPECT_FALSE(shown(AttackColour, Left + 192, Top + 352));
    EXPECT_FALSE(shown(OtherColour, Left + 352, Top + 192));
    // Only the side at this machine sees its own plans.
    EXPECT_EQ(shown(AttackColour, Left + 192, Top + 32), Dialog->AttackerIsLocal());

    Dialog->Phase = fpShowCommands;
    DrawFrame();
    SaveFrame("fight-commands");
    EXPECT_TRUE(shown(AttackColour, Left + 192, Top + 32));
    EXPECT_TRUE(shown(AttackColour, Left + 192, Top + 352));
    EXPECT_TRUE(shown(OtherColour, Left + 352, Top + 192));

    // A target beyond the field (as a peer might send) draws no beam and reads nothing
    // beyond the fighters.
    Dialog->Battle.Slots[0].TargetSlot = 9;
    Dialog->Battle.Slots[3].TargetSlot = -1;
    DrawFrame();
    EXPECT_FALSE(shown(AttackColour, Left + 192, Top + 32));
    EXPECT_FALSE(shown(AttackColour, Left + 192, Top + 352));
}

TEST_F(FightDrawing, TheFallenLieUnderTheLivingWhateverTheirRow) {
    TUnit* living = AddFighter(*Attackers);
    TUnit* fallen = AddFighter(*Defenders, 0);
    living->AcquireBattleIdleSprites();
    fallen->AcquireBattleDeathSprites();
    StartFight();
    // The fallen stands further down the field, where the living would be drawn first.
    Place(0, 100, 100);
    Place(3, 110, 120, faDead);
    DrawFrame();
    EXPECT_EQ(At(Left + 120, Top + 125), Packed(IdleColour));
    EXPECT_EQ(At(Left + 140, Top + 150), Packed(DeathColour));
    EXPECT_EQ(Dialog->Units[3].CurrentSprite, fallen->Sprite(usBattleDeath, 0));
}

TEST_F(FightDrawing, AFighterWithoutASpriteStillShowsItsBadge) {
    constexpr int Cell = 12;
    Data2::GlobalData->BadgeCellWidth = Data2::GlobalData->BadgeCellHeight = Cell;
    // Each cell of the sheet in a colour of its own: column in red, row in blue.
    const auto sheet = SpriteTests::Picture(3 * Cell, 5 * Cell, [](int x, int y) {
        return 0xFF000000u | uint32_t(0x40 + 0x40 * (x / Cell)) << 16 | uint32_t(0x30 * (y / Cell));
    });
    Data2::GlobalData->CommonSprites[1111] =
        Sprites.emplace_back(SpriteTests::LoadSprite(Tools::EncodeSprite({sheet}, {}))).get();
    World->Player(0).Color = 2;
    World->Player(1).Color = 7; // no row of its own: the first
    AddFighter(*Attackers);
    AddFighter(*Attackers);
    AddFighter(*Defenders);
    StartFight();
    Place(1, 100, 100);
    Place(3, 300, 200);
    DrawFrame();
    EXPECT_EQ(Dialog->Units[1].CurrentSprite, nullptr);
    // Attacker 1's badge: column 1, row 2, its corner 30 left and 40 above the fighter.
    EXPECT_EQ(At(Left + 70, Top + 60), Packed(0xFF800060));
    EXPECT_EQ(At(Left + 81, Top + 71), Packed(0xFF800060));
    EXPECT_EQ(At(Left + 82, Top + 60), Paper);
    // The defender's: column 0, row 0, ending 30 right of it.
    EXPECT_EQ(At(Left + 329, Top + 160), Packed(0xFF400000));
    EXPECT_EQ(At(Left + 330, Top + 160), Paper);

    // The panels carry the same badges beside their portraits: left of it on the
    // attackers' side, right of it on the defenders'.
    Dialog->Panels[1]->SetUnit(Attackers->UnitAt(1));
    Dialog->Panels[3]->SetUnit(Defenders->UnitAt(0));
    DrawFrame();
    EXPECT_EQ(At(79, 274 + 16), Packed(0xFF800060));
    EXPECT_EQ(At(606 + 15 + 90, 134 + 16), Packed(0xFF400000));
}

TEST_F(FightDrawing, PanelsStandAtTheEdgesAndButtonsAtTheBottom) {
    for (int slot = 0; slot < 6; ++slot) {
        SCOPED_TRACE(slot);
        const TUnitInfoControl& panel = *Dialog->Panels[size_t(slot)];
        const bool left = slot < 3;
        EXPECT_EQ(panel.Layout(), left ? ulFightLeft : ulFightRight);
        EXPECT_EQ(panel.X(), left ? 0 : 800 - 194);
        EXPECT_EQ(panel.Y(), 200 + 140 * (slot % 3) - 66);
        EXPECT_EQ(panel.DetailX(), left ? 240 : 20);
        EXPECT_EQ(panel.DetailY(), 20);
    }
    struct TRow {
        DXWin::TDXButton* Button;
        int X;
        const char* Hint;
    };
    for (const TRow& row : {TRow{Dialog->AutoButton, 270, "Assign commands automatically"},
                            TRow{Dialog->FleeButton, 370, "Flee from fight"},
                            TRow{Dialog->AcceptButton, 470, "Accept current commands"}}) {
        SCOPED_TRACE(row.Hint);
        EXPECT_EQ(row.Button->X(), row.X);
        EXPECT_EQ(row.Button->Y(), 540);
        EXPECT_EQ(row.Button->Width(), 60);
        EXPECT_EQ(row.Button->Height(), 60);
        // The game here has no key table yet: the bare text.
        EXPECT_EQ(row.Button->Hint(), row.Hint);
    }
}

TEST_F(FightDrawing, AButtonShowsItsSpriteOnlyWhileEnabledAndLightsUpUnderTheMouse) {
    for (const auto& [slot, colour] :
         {std::pair{1046, 0xFF30A030u}, std::pair{1049, 0xFFE0E040u}}) {
        Gfx::TSprite* sprite = MakeSprite(40, 40, 1, colour);
        sprite->HotSpotX = sprite->HotSpotY = 20;
        Data2::GlobalData->CommonSprites[slot] = sprite;
    }
    AddFighter(*Attackers);
    AddFighter(*Defenders);
    StartFight();
    Dialog->AcceptButton->Show();
    Dialog->AcceptButton->Disable();
    DrawFrame();
    EXPECT_EQ(At(500, 570), Paper);
    Dialog->AcceptButton->Enable();
    DrawFrame();
    EXPECT_EQ(At(500, 570), Packed(0xFF30A030));
    EXPECT_EQ(At(480, 550), Packed(0xFF30A030));
    EXPECT_EQ(At(479, 549), Paper);
    MoveTo(500, 570);
    DrawFrame();
    EXPECT_EQ(At(500, 570), Packed(0xFFE0E040));
}

// Battle spells are seen by both sides, whatever the map's fog, and drawn larger.
class BattleSpellParticles : public testing::Test {
protected:
    BattleSpellParticles() {
        Cast.SetFrameCount(4);
        Flight.SetFrameCount(2);
        Impact.SetFrameCount(5);
    }
    ~BattleSpellParticles() override {
        Visual.CastSprite = Visual.FlightSprite = Visual.ImpactSprite = nullptr;
    }
    void Start(int spell) {
        Record.ID = int16_t(spell);
        Record.CastTicks = 3;
        Record.FlightTicks = 2;
        Record.FlightSpeed = 400;
        Record.ImpactTicks = 4;
        Visual.Prototype = &Record;
        Visual.CastSprite = &Cast;
        Visual.FlightSprite = &Flight;
        Visual.ImpactSprite = &Impact;
        // 400 pixels to the right, 4 pixels a tick.
        Visual.StartSpellAnimation(0, 100, 100, 400);
    }
    void AdvanceTo(uint32_t tick) {
        while (Visual.Tick < tick)
            Visual.Advance();
    }
    const TSpellDrawInfo& Only() const {
        EXPECT_EQ(Visual.Particles.Count(), 1);
        return *Visual.Particles[0];
    }

    Data2::TSpellPrototype Record{};
    Gfx::TSprite Cast, Flight, Impact;
    TSpell Visual; // no scenario: nobody's fog
};

TEST_F(BattleSpellParticles, AMissileFliesTurnedAboveItsPathThenBurstsAtTheTarget) {
    for (const int spell : {77, 104}) {
        SCOPED_TRACE(spell);
        Start(spell);
        AdvanceTo(50);
        const TSpellDrawInfo& flying = Only();
        EXPECT_EQ(flying.Kind, uint32_t(sdTransformed));
        EXPECT_EQ(flying.Sprite, &Flight);
        EXPECT_EQ(flying.X, 200);
        EXPECT_EQ(flying.Y, 100 - 25);
        EXPECT_FLOAT_EQ(flying.ScaleX, 1.4f);
        EXPECT_FLOAT_EQ(flying.Angle, float(std::numbers::pi / 2));
        AdvanceTo(105);
        const TSpellDrawInfo& burst = Only();
        EXPECT_EQ(burst.Sprite, &Impact);
        EXPECT_EQ(burst.Frame, 1u);
        EXPECT_EQ(burst.Y, 100 - 25);
        // Only the first of them turns its burst along the flight.
        EXPECT_EQ(burst.Angle != 0.0f, spell == 77);
    }
}

TEST_F(BattleSpellParticles, BeamsAndBurstsStandWhereTheirSpellsPutThem) {
    struct TRow {
        int Spell;
        uint32_t Kind;
        int X, Y, X2, Y2;
    };
    for (const TRow& row : {TRow{121, sdBeam, 0, 70, 400, 70}, TRow{83, sdBeam, 0, 75, 533, 90},
                            TRow{70, sdTransformed, 400, 100, 0, 0}}) {
        SCOPED_TRACE(row.Spell);
        Start(row.Spell);
        AdvanceTo(9);
        const TSpellDrawInfo& info = Only();
        EXPECT_EQ(info.Kind, row.Kind);
        EXPECT_EQ(info.Sprite, &Impact);
        EXPECT_EQ(info.Frame, 2u);
        EXPECT_EQ(info.X, row.X);
        EXPECT_EQ(info.Y, row.Y);
        EXPECT_EQ(info.X2, row.X2);
        EXPECT_EQ(info.Y2, row.Y2);
        if (row.Kind == sdTransformed) {
            EXPECT_FLOAT_EQ(info.ScaleX, 1.4f);
        }
        // Nothing is left once the impact's frames are shown.
        AdvanceTo(20);
        EXPECT_EQ(Visual.Particles.Count(), 0);
    }
}

TEST_F(BattleSpellParticles, TheDrainIsGatheredAtTheTargetAndSwallowedByTheCaster) {
    Start(98);
    AdvanceTo(6); // the cast phase: 4 frames of 3 ticks
    EXPECT_EQ(Only().Sprite, &Cast);
    EXPECT_EQ(Only().X, 400);
    AdvanceTo(12 + 50); // half way back
    EXPECT_EQ(Only().Sprite, &Flight);
    EXPECT_EQ(Only().X, 200);
    AdvanceTo(12 + 100 + 50); // half swallowed
    EXPECT_EQ(Only().X, 0);
    EXPECT_FLOAT_EQ(Only().ScaleX, 0.5f * 1.4f);
}

} // namespace
