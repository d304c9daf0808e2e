// A unit's effect icons on the display: rows of four growing upward, spells framed by
// their family, effects with neither icon nor spell left out.
#include "engine/graphics/SpriteDrawing.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/game/world/UnitFixture.h"

namespace UnitTests {
namespace {

constexpr uint16_t Background = 0x1234;
constexpr uint32_t FamilyColours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
constexpr uint32_t SpellIconColour = 0xFF00FFFF;
constexpr uint32_t OtherIconColour = 0xFFFFFFFF;

std::unique_ptr<Gfx::TSprite> PlainSprite(uint32_t colour) {
    const Tools::TPicture picture = SpriteTests::Picture(4, 4, [=](int, int) { return colour; });
    auto sprite = SpriteTests::LoadSprite(Tools::EncodeSprite({picture}, {}), Gfx::sfConvert);
    sprite->PrepareSurfaces(false);
    return sprite;
}

TEST_F(UnitTest, EffectIconsFillRowsOfFourUpwardWithSpellsInTheirFamilysFrame) {
    SpriteTests::TScopedDisplay display;
    std::unique_ptr<Gfx::TSprite> frames[4];
    for (int family = 0; family < 4; ++family) {
        frames[family] = PlainSprite(FamilyColours[family]);
        Data.Global().CommonSprites[1132 + family] = frames[family].get();
    }
    const auto spellIcon = PlainSprite(SpellIconColour);
    const auto otherIcon = PlainSprite(OtherIconColour);
    for (int spell : {5, 14, 30, 40, 69})
        Data.AddSpell(spell, 1);

    auto unit = TestSupport::MakeUnit(SoldierID);
    const struct {
        int32_t Kind;
        Gfx::TSprite* Icon;
    } effects[] = {
        {5, spellIcon.get()},       // place 0, family 1-12
        {ekSkillBase + 3, nullptr}, // no icon, no spell: no place
        {200, otherIcon.get()},     // place 1, unframed
        {14, spellIcon.get()},      // place 2, family 13-23
        {30, spellIcon.get()},      // place 3, family 24-35
        {69 + 64, spellIcon.get()}, // not a known spell kind: place 4, unframed
        {40, spellIcon.get()},      // place 5, the other family
    };
    for (const auto& e : effects) {
        auto effect = std::make_unique<TAfterEffect>();
        effect->Kind = e.Kind;
        effect->Icon = e.Icon;
        effect->Duration = 1;
        unit->AddEffect(std::move(effect));
    }

    Win32::IDirectDrawSurface7* screen = display.BackBuffer();
    Win32::DDBLTFX fx;
    fx.dwFillColor = Background;
    screen->Blt(nullptr, nullptr, nullptr, Win32::DDBLT_COLORFILL, &fx);
    const Win32::RECT clip{0, 0, 800, 600};
    unit->DrawEffectIcons(screen, 100, clip, 200);
    const std::vector<uint32_t> pixels = TestSupport::ReadPixels(*screen);
    const auto at = [&](int x, int y) { return pixels[size_t(y) * 800 + size_t(x)]; };

    const struct {
        uint32_t Icon;
        int Family; // -1: no frame
    } places[] = {{SpellIconColour, 0}, {OtherIconColour, -1}, {SpellIconColour, 1},
                  {SpellIconColour, 2}, {SpellIconColour, -1}, {SpellIconColour, 3}};
    // Frames overlap their neighbours; each place is checked where only it draws: the
    // icon's centre, and the frame's edge below the icon in the first row, above it in
    // the second.
    for (int place = 0; place < 6; ++place) {
        SCOPED_TRACE(place);
        const int left = 100 + 17 * (place % 4);
        const int bottom = 200 + 80 - (17 * (place / 4) + 6);
        EXPECT_EQ(at(left + 14, bottom - 8), Gfx::PackColor565(places[place].Icon));
        const uint32_t edge = places[place].Family < 0
                                  ? Background
                                  : Gfx::PackColor565(FamilyColours[places[place].Family]);
        EXPECT_EQ(at(left + 12, place < 4 ? bottom + 2 : bottom - 18), edge);
    }
    EXPECT_EQ(at(100 + 17 * 2 + 14, 200 + 80 - 23 - 8), Background); // the second row ends

    for (int family = 0; family < 4; ++family)
        Data.Global().CommonSprites[1132 + family] = nullptr;
}

} // namespace
} // namespace UnitTests
