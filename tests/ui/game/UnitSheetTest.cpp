// The unit sheet compares the unit's effective numbers with its own in colour, leaves
// out the regeneration rows of a unit that does not regenerate without leaving gaps,
// shows the tooltips of its spells and skills, and closes on a click or Escape only,
// letting the unit's picture go.
#include "engine/graphics/GfxPixels.h"
#include "tests/ui/game/GameFixture.h"
#include "tests/ui/game/UnitWindowFixture.h"
#include "ui/game/UnitDetailWindow.h"
#include "ui/widgets/WidgetArt.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Main;
using GameData::TUnitStat;

class UnitSheet : public UnitWindowTest {
protected:
    UnitSheet() {
        OpenLibrary(Data2::GlobalData->CreatureLibrary, {DetailPictureID}, 120, 160, 0xFF404040);
    }
    TUnitDetailWindow* ShowSheet(GameData::TUnit& unit) {
        auto* sheet = new TUnitDetailWindow(&Windows, DXWin::woModal);
        sheet->SetUnit(&unit);
        sheet->SheetX = 130;
        sheet->SheetY = 20;
        sheet->Show();
        Windows.ProcessRequests();
        return sheet;
    }
    // Pixels of the colour in the 60 x 16 box from (x, y).
    int CountColour(uint32_t colour, int x, int y) const {
        return CountInsideOutside(Gfx::PackColor16(colour), {x, y, x + 60, y + 16}).first;
    }
};

TEST_F(UnitSheet, NumbersAboveTheUnitsOwnAreBlueAndBelowRed) {
    struct {
        int Effective, Own;
        bool ZeroStaysBlack;
        uint32_t Colour;
    } const cases[] = {
        {5, 5, false, TUnitDetailWindow::Black}, {4, 5, false, TUnitDetailWindow::Red},
        {6, 5, false, TUnitDetailWindow::Blue},  {0, -2, true, TUnitDetailWindow::Black},
        {0, -2, false, TUnitDetailWindow::Blue}, {-1, 0, true, TUnitDetailWindow::Red},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TUnitDetailWindow::CompareColour(c.Effective, c.Own, c.ZeroStaysBlack), c.Colour)
            << c.Effective << " " << c.Own;

    UseFont(3);
    GameData::TUnit& unit = MakeCaster();
    TestSupport::SetStat(unit.Own, GameData::ATTACK, 10);
    TestSupport::SetStat(unit.Own, GameData::DEFENCE, 10);
    unit.Own.RecalcValues();
    auto blessing = std::make_unique<GameData::TAfterEffect>();
    blessing->Kind = 3;
    blessing->Duration = 2;
    blessing->Delta.Value(GameData::ATTACK) = 4;
    blessing->Delta.Value(GameData::DEFENCE) = -3;
    unit.AddEffect(std::move(blessing));
    unit.RecalculateStats(false);
    ASSERT_EQ(unit.Effective.Value(GameData::ATTACK), 14);
    DrawOnPaper([&](Win32::IDirectDrawSurface7* target) {
        TUnitDetailWindow::DrawStatValue(target, unit, 100, 100, GameData::ATTACK);
        TUnitDetailWindow::DrawStatValue(target, unit, 200, 100, GameData::DEFENCE);
    });
    EXPECT_GT(CountColour(TUnitDetailWindow::Blue, 100, 100), 0);
    EXPECT_EQ(CountColour(TUnitDetailWindow::Red, 100, 100), 0);
    EXPECT_GT(CountColour(TUnitDetailWindow::Red, 100, 200), 0);
    EXPECT_EQ(CountColour(TUnitDetailWindow::Blue, 100, 200), 0);
}

TEST_F(UnitSheet, RegenerationRowsOnlyWhereTheUnitRegeneratesAndNoGaps) {
    GameData::TUnit& unit = MakeCaster();
    const auto layout = [&unit] {
        std::vector<std::pair<std::string, int>> rows;
        for (const TSheetRow& row : TUnitDetailWindow::StatisticRows(unit))
            rows.emplace_back(row.Label, row.Offset);
        return rows;
    };
    using TRows = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(layout(), (TRows{{"Level:", 0},
                               {"Experiences:", 16},
                               {"Hit Points:", 48},
                               {"Action Points:", 64},
                               {"Mana:", 80},
                               {"Morale:", 96},
                               {"Sight:", 112},
                               {"Attack:", 128},
                               {"Counterattack:", 144},
                               {"Defense:", 160}}));
    unit.Own.Value(GameData::MANAREGENERATE) = 2;
    EXPECT_EQ(layout(), (TRows{{"Level:", 0},
                               {"Experiences:", 16},
                               {"Hit Points:", 48},
                               {"Action Points:", 64},
                               {"Mana:", 80},
                               {"regeneration", 96},
                               {"Morale:", 112},
                               {"Sight:", 128},
                               {"Attack:", 144},
                               {"Counterattack:", 160},
                               {"Defense:", 176}}));
}

TEST_F(UnitSheet, AClickOrEscapeClosesAndLetsThePictureGoOtherKeysDoNothing) {
    const struct {
        const char* How;
        std::function<void()> Close;
    } cases[] = {
        {"left click", [this] { ClickAt(400, 300); }},
        {"right click", [this] { Mouse(Win32::WM_RBUTTONDOWN, 5, 5, Win32::MK_RBUTTON); }},
        {"Escape", [this] { Key(27); }},
    };
    GameData::TUnit& unit = MakeCaster();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.How);
        TUnitDetailWindow* sheet = ShowSheet(unit);
        ASSERT_NE(unit.DetailPicture(), nullptr);
        for (const Win32::UINT key : {13u, 32u, uint32_t('A')})
            Key(key);
        Mouse(Win32::WM_MBUTTONDOWN, 400, 300, Win32::MK_MBUTTON);
        EXPECT_FALSE(sheet->Done());
        EXPECT_NE(unit.DetailPicture(), nullptr);
        c.Close();
        EXPECT_TRUE(sheet->Done());
        EXPECT_EQ(sheet->ModalResult(), 1);
        EXPECT_EQ(unit.DetailPicture(), nullptr);
        delete sheet;
    }
}

TEST_F(UnitSheet, TheMouseOverASpellIconOrSkillLineGivesItsTooltip) {
    UseFont(3);
    AddSpell(12, 1, "Stoneskin");
    AddSkill(2, "Tracking");
    AddSkill(5, "Swimming");
    OpenLibrary(Data2::GlobalData->SpellLibrary, {12}, 40, 40, 0xFF206020);
    Data2::GlobalData->SpellLibrary.AcquireSpriteByID(12);
    GameData::TUnit& unit = MakeCaster();
    unit.Own.Skills = GameData::MaskBit(2) | GameData::MaskBit(5);
    auto effect = std::make_unique<GameData::TAfterEffect>();
    effect->Kind = 12;
    effect->Duration = 3;
    unit.AddEffect(std::move(effect));
    unit.RecalculateStats(false);
    TUnitDetailWindow* sheet = ShowSheet(unit);
    // Icons from 20 below "Active spells:", skill lines likewise, 16 pixels apart.
    const std::pair<Win32::POINT, const char*> places[] = {
        {{130 + 40 + 5, 20 + 370 + 5}, "Stoneskin\nWhat Stoneskin does."},
        {{130 + 270 + 2, 20 + 370 + 2}, "Tracking\nAbout Tracking"},
        {{130 + 270 + 2, 20 + 386 + 2}, "Swimming\nAbout Swimming"},
        {{130 + 270 + 2, 20 + 402 + 2}, ""},
        {{130 + 100, 20 + 370 + 5}, ""},
    };
    for (const auto& [at, tooltip] : places) {
        MoveTo(at.x, at.y);
        Windows.Tick();
        EXPECT_EQ(std::string(sheet->Hint()), tooltip) << at.x << "," << at.y;
    }
    delete sheet;
}

} // namespace

namespace {

using namespace Main;

using UnitSheetDrawing = UnitSheet;

TEST_F(UnitSheetDrawing, TheWholeSheetOfAUnitWithManyEffectsAndSkills) {
    UseFont(3, 13);
    UseFont(8, 22);
    // Blended, as the game's parchment: only such a sprite is drawn stretched.
    Tools::TSpriteOptions blended;
    blended.Kind = 3;
    blended.BlendMode = 0xFF;
    blended.Bits = 32;
    Gfx::TSprite* parchment =
        Sprites
            .emplace_back(SpriteTests::LoadSprite(Tools::EncodeSprite(
                {SpriteTests::Picture(64, 64, [](int, int) { return 0xFFE8D8A8u; })}, blended)))
            .get();
    parchment->PrepareSurfaces(false);
    Data2::GlobalData->CommonSprites[cgVertParchment] = parchment;
    UseFrame(1087, 128, 168, 0xFFD0B040);
    std::vector<uint32_t> icons;
    for (int id = 1; id <= 14; ++id) {
        AddSpell(id, 1);
        icons.push_back(uint32_t(id));
    }
    OpenLibrary(Data2::GlobalData->SpellLibrary, icons, 40, 40, 0xFF2050A0);
    for (const uint32_t id : icons)
        Data2::GlobalData->SpellLibrary.AcquireSpriteByID(id);
    for (int id = 1; id <= 12; ++id)
        AddSkill(id, "Knowledge of the Far Lands " + std::to_string(id));
    Data2::GlobalData->GameConstants[Data2::gcMaxMorale] = 100;
    GameData::TUnit& unit = MakeCaster("Aldegund the Wanderer of the Seven Hills");
    GameData::TUnitStats& own = unit.Own;
    own.Skills = ~uint64_t(0);
    TestSupport::SetStat(own, GameData::HITPOINTS, 40, 5, 2);
    TestSupport::SetStat(own, GameData::HPREGENERATE, 3);
    TestSupport::SetStat(own, GameData::MORALEREGENERATE, 2);
    TestSupport::SetStat(own, GameData::ATTACK, 12, 1, 1);
    TestSupport::SetStat(own, GameData::DEFENCE, 9);
    TestSupport::SetStat(own, GameData::SIGHT, 3);
    own.RecalcValues();
    for (int id = 1; id <= 14; ++id) {
        auto effect = std::make_unique<GameData::TAfterEffect>();
        effect->Kind = id;
        effect->Duration = id;
        if (id == 1)
            effect->Delta.Value(GameData::ATTACK) = 4;
        if (id == 2)
            effect->Delta.Value(GameData::DEFENCE) = -5;
        unit.AddEffect(std::move(effect));
    }
    auto skillEffect = std::make_unique<GameData::TAfterEffect>();
    skillEffect->Kind = GameData::ekSkillBase + 2;
    skillEffect->Duration = 4;
    unit.AddEffect(std::move(skillEffect));
    unit.RecalculateStats(false);

    TUnitDetailWindow* sheet = ShowSheet(unit);
    DrawFrame();
    SaveFrame("unit-sheet");
    // Twelve icons at most: the thirteenth place (row four) stays empty.
    EXPECT_EQ(CountInsideOutside(At(130 + 40 + 10, 20 + 370 + 10), {170, 540, 210, 580}).first, 0);
    EXPECT_NE(unit.DetailPicture(), nullptr);
    sheet->CloseSheet();
    delete sheet;
}

} // namespace

namespace {

using namespace Main;

// The game's own sheet in the application's modal loop.
class GameUnitSheet : public GameTest {
protected:
    GameUnitSheet() { RunModalLoops(); }
    void PostKey(Win32::WPARAM key) { Win32::PostMessage(App.Window, Win32::WM_KEYDOWN, key, 1); }
};

TEST_F(GameUnitSheet, ShowsAUnitUntilEscapeAndLetsItsPictureGoEvenWhenTheProgramQuits) {
    Data.Global().UnitPrototypes[0].DetailPictureID = DetailPictureID;
    OpenLibrary(Data.Global().CreatureLibrary, {DetailPictureID}, 8, 8, 0xFF404040);
    const std::unique_ptr<GameData::TUnit> unit = TestSupport::MakeUnit(WalkerID);
    TUnitDetailWindow* sheet = Game->UnitSheet();
    ASSERT_NE(sheet, nullptr);
    PostKey('A'); // the key that opened it: dropped
    PostKey('B');
    PostKey(27);
    Game->ShowUnitSheet(unit.get(), 20, 30);
    EXPECT_EQ(sheet->ModalResult(), 1);
    EXPECT_EQ(sheet->SheetX, 20);
    EXPECT_EQ(sheet->SheetY, 30);
    EXPECT_EQ(unit->DetailPicture(), nullptr);

    App.Terminate();
    Game->ShowUnitSheet(unit.get(), 0, 0);
    EXPECT_EQ(sheet->ModalResult(), 0);
    EXPECT_EQ(sheet->Unit(), nullptr);
    EXPECT_EQ(unit->DetailPicture(), nullptr);
}

} // namespace
