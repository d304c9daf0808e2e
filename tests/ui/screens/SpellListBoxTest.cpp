// How a merchant's list rows look: a skill's name in the colour of the unit's standing
// towards it (green only for what the unit could buy now), a spell row's two frames chosen by the
// entry's index, the row background inside the row's edge, and the requirement text.
#include "ui/screens/SpellListBox.h"
#include "engine/graphics/GfxPixels.h"
#include "game/world/units/Unit.h"
#include "tests/support/UnitBuilder.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/screens/CityArt.h"

#include <cstdio>
#include <memory>

namespace {

using namespace GameData;
using namespace Main;

constexpr int Learner = 1;
constexpr int ListX = 25, ListY = 172, Row = TSpellListBox::RowHeight;
constexpr int Middle = ListX + TSpellListBox::Width / 2;

uint16_t Packed(uint32_t colour) {
    return Gfx::PackColor565(colour & 0xFFFFFF);
}

class SpellListDrawing : public GameWidgetDrawingTest {
protected:
    SpellListDrawing() {
        TUnitStats& stats = Data.AddUnitPrototype(Learner, "Learner").Stats;
        // Skill 2 is not for it; skill 3 wants level 3.
        stats.LearnableSkills = MaskBit(1) | MaskBit(3) | MaskBit(4);
        for (int id = 1; id <= 4; ++id) {
            Data2::TSkillPrototype& skill = Data.AddSkill(id, id == 3 ? 3 : 1);
            std::snprintf(skill.Name, sizeof skill.Name, "Skill number %d", id);
            std::snprintf(skill.Description, sizeof skill.Description, "What skill %d does.", id);
            skill.PermanentDelta.Skills = MaskBit(id);
        }
        Unit = TestSupport::MakeUnit(Learner);
        Unit->LearnSkill(1);
        Window = MakeWindow(0, 0, 800, 600);
    }
    ~SpellListDrawing() override {
        for (Gfx::TSprite*& sprite : Data2::GlobalData->CommonSprites)
            sprite = nullptr;
    }

    TSpellListBox* MakeList(uint8_t mode, std::initializer_list<TOfferTable::TOffer> offers,
                            int64_t gold = 1000) {
        Offers = {};
        for (const TOfferTable::TOffer& offer : offers)
            Offers.Offers[size_t(Offers.Count++)] = offer;
        auto* list =
            new TSpellListBox(Window, TSpellListBox::Width, mode, TSpellListBox::Rows, nullptr);
        list->SetPosition(ListX, ListY);
        list->SetOffers(nullptr, &Offers, Unit.get(), gold);
        return list;
    }
    // Pixels of the colour in the band of a row's first text line, left of the price.
    int NamePixels(int row, uint32_t colour, int cellHeight) const {
        int count = 0;
        const int top = ListY + row * Row;
        for (int y = top; y < top + 4 + cellHeight; ++y)
            for (int x = ListX; x < ListX + 400; ++x)
                count += At(x, y) == Packed(colour) ? 1 : 0;
        return count;
    }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TUnit> Unit;
    DXWin::TDXWindow* Window = nullptr;
    TOfferTable Offers;
};

TEST_F(SpellListDrawing, ASkillsNameShowsTheUnitsStandingInItsColour) {
    const int cell = UseFont(1, 14).CellHeight();
    UseFont(0, 11);
    // Known, not for it, its level too low, then buyable with 40 gold but not with 39.
    const struct {
        int64_t Gold;
        uint32_t Standings[4];
    } cases[] = {{40, {ssKnown, ssCannotLearn, ssNotYet, ssCanBuy}},
                 {39, {ssKnown, ssCannotLearn, ssNotYet, ssNotYet}}};
    for (const auto& c : cases) {
        SCOPED_TRACE("gold " + std::to_string(c.Gold));
        TSpellListBox* list = MakeList(slSkills, {{0, 10}, {1, 20}, {2, 30}, {3, 40}}, c.Gold);
        DrawFrame();
        SaveFrame("spell-list-skills");
        for (int row = 0; row < 4; ++row)
            for (const uint32_t colour : {ssKnown, ssCannotLearn, ssNotYet, ssCanBuy})
                if (colour == c.Standings[row])
                    EXPECT_GT(NamePixels(row, colour, cell), 20) << "row " << row;
                else
                    EXPECT_EQ(NamePixels(row, colour, cell), 0)
                        << "row " << row << " colour " << std::hex << colour;
        delete list;
    }
}

TEST(SpellListFrames, FourFramesByTheEntrysIndex) {
    const std::pair<int, int> cases[] = {{0, 0},  {12, 0}, {13, 1}, {23, 1},
                                         {24, 2}, {35, 2}, {36, 3}, {63, 3}};
    for (const auto& [index, frame] : cases)
        EXPECT_EQ(SpellFrameSprite(index), csFirstSpellFrame + frame) << index;
}

TEST_F(SpellListDrawing, ASpellRowsTwoFramesAndTheBackgroundInsideTheRowsEdge) {
    if (Data2::CommonSpriteCount < CitySpriteEnd)
        GTEST_SKIP() << "the global data has no slots for the town's sprites";
    const uint32_t frames[] = {0xFFF80000, 0xFF00FC00, 0xFF0000F8, 0xFFF8FC00};
    // Stretched pictures are blitted from their surfaces, as the loaded sprites have.
    const auto surfaced = [this](int width, int height, uint32_t colour) {
        Gfx::TSprite* sprite = MakeSprite(width, height, 1, colour);
        sprite->PrepareSurfaces(false);
        return sprite;
    };
    for (int i = 0; i < 4; ++i)
        Data2::GlobalData->CommonSprites[csFirstSpellFrame + i] = surfaced(Row, Row, frames[i]);
    const uint32_t background = 0xFF808080;
    Data2::GlobalData->CommonSprites[csListRow] = surfaced(40, 20, background);
    MakeList(slSpells, {{13, 10}});
    DrawFrame();
    EXPECT_EQ(At(ListX + 2, ListY + 2), Packed(frames[1]));
    EXPECT_EQ(At(Middle + 2, ListY + Row - 2), Packed(frames[1]));
    EXPECT_EQ(At(ListX + 300, ListY + Row - 2), Packed(background));
    // The row's edge holds the chosen row's outline, not the background.
    EXPECT_EQ(At(ListX + 300, ListY), Packed(0xC0C0C0));
    EXPECT_EQ(At(ListX + 300, ListY + Row - 1), Packed(0xC0C0C0));
    EXPECT_EQ(At(ListX + 300, ListY + Row + 5), Paper) << "one offer, one row";
}

TEST(SpellListOutline, TheChosenRowInLightGreyAHoveredOnePulsing) {
    const struct {
        bool Selected;
        uint32_t Tick, Grey;
    } cases[] = {
        {true, 37, 0xC0}, {false, 0, 127}, {false, 64, 191}, {false, 96, 159}, {false, 128, 127},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RowOutlineGrey(c.Selected, c.Tick), c.Grey) << c.Tick;
}

TEST(SpellListRequirements, LevelAndActionPointsEachOnlyWhenAboveZero) {
    const struct {
        int Level, AP;
        const char* Text;
    } cases[] = {
        {3, 0, "(Level: 3)"},
        {0, 2, "(AP: 2)"},
        {4, 5, "(Level: 4 AP: 5)"},
        {0, 0, "()"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RequirementText(c.Level, c.AP), c.Text);
}

TEST_F(SpellListDrawing, ALongDescriptionIsCutToTheLinesThatFitWithDots) {
    const Gfx::TFont& font = UseFont(0, 11);
    const int lines = 3, width = 200;
    const ClassLib::AnsiString text =
        "A pool of healing spreads over the group: each wounded unit in turn regains one hit "
        "point until the pool is spent, and the pool grows with the caster's level and more.";
    const ClassLib::AnsiString fitted =
        FitDescription(font, text, width, lines * font.CellHeight() + font.CellHeight() / 2);
    EXPECT_EQ(font.TextHeight(fitted), lines * font.CellHeight()) << fitted;
    EXPECT_LE(font.MaxLineWidth(fitted), width);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    // A short one stays whole.
    EXPECT_EQ(FitDescription(font, "Short.", width, font.CellHeight()), "Short.");
}

} // namespace
