// The encyclopedia lists the creatures the viewing player has met, by category, keeps
// each category's page, and turns pages and categories with its buttons and keys.
#include "ui/screens/CreaturePedia.h"
#include "engine/widgets/DXButton.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/VirtualKeys.h"
#include "tests/ui/widgets/GameWidgetFixture.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Main;

class CreaturePedia : public GameWidgetTest {
protected:
    CreaturePedia() {
        UseFont(8);
        Tools::TSpriteOptions options;
        options.ID = 1;
        const std::vector<Tools::TPicture> frames{
            SpriteTests::Picture(64, 48, [](int, int) { return 0xFF806040u; })};
        Data2::GlobalData->CreatureLibrary.OpenDirectory(std::make_unique<ClassLib::TMemoryStream>(
            Tools::EncodeSpriteLibrary(3, {Tools::EncodeSprite(frames, options)})));
        // id, kind, picture (0: none)
        AddPrototype(10, 0, 1, "Wolf");
        AddPrototype(11, 0, 1, "Bear");
        AddPrototype(12, 0, 1, "Eagle");
        AddPrototype(20, 1, 1, "Archer");
        AddPrototype(30, 4, 1, "Ghoul");
        AddPrototype(40, 0, 0, "Shade without a picture");
    }
    void AddPrototype(int id, int kind, int picture, const char* name) {
        Data2::TUnitPrototype prototype{};
        prototype.ID = id;
        prototype.CreatureType = int16_t(kind);
        prototype.PictureID3 = picture;
        std::strncpy(prototype.Name, name, sizeof prototype.Name - 1);
        std::strncpy(prototype.Description, "A creature of the wilds.",
                     sizeof prototype.Description - 1);
        Data2::GlobalData->UnitPrototypes.Add(prototype);
    }
    TCreaturePediaWindow* Open(std::initializer_list<uint32_t> met) {
        auto player = std::make_unique<GameData::TPlayer>(&Scenario);
        for (const uint32_t id : met)
            player->MetPrototypes.Add(id);
        auto* window = new TCreaturePediaWindow(&Windows, player.get(), Keys);
        Players.push_back(std::move(player));
        window->Show();
        Windows.ProcessRequests();
        return window;
    }
    std::string Shown(const TCreaturePediaWindow& window) const {
        return window.Shown() ? window.Shown()->Name : "";
    }
    const THotkeyTable Keys = MakeKeyTable();
    GameData::TScenario Scenario;
    std::vector<std::unique_ptr<GameData::TPlayer>> Players;
};

TEST_F(CreaturePedia, AnEmptyBookHasNoPageAndNoCategoryButtons) {
    TCreaturePediaWindow* window = Open({40, 99});
    EXPECT_EQ(window->Current(), nullptr);
    EXPECT_FALSE(window->AnimalsButton->Visible());
    EXPECT_FALSE(window->HumansButton->Visible());
    EXPECT_FALSE(window->UndeadButton->Visible());
    EXPECT_FALSE(window->NextButton->Enabled());
    delete window;
}

TEST_F(CreaturePedia, OpensOnTheFirstCategoryMetInTheOrderAnimalsHumansUndead) {
    const struct {
        std::initializer_list<uint32_t> Met;
        const char* First;
    } cases[] = {{{30, 20, 11}, "Bear"}, {{30, 20}, "Archer"}, {{30}, "Ghoul"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.First);
        TCreaturePediaWindow* window = Open(c.Met);
        EXPECT_EQ(Shown(*window), c.First);
        delete window;
    }
}

TEST_F(CreaturePedia, PagesTurnWithinACategoryAndEachCategoryKeepsItsPage) {
    TCreaturePediaWindow* window = Open({10, 11, 12, 20, 30, 40});
    ASSERT_EQ(window->Animals.Count(), 3); // the type without a picture is left out
    EXPECT_EQ(Shown(*window), "Wolf");
    EXPECT_FALSE(window->PreviousButton->Enabled());
    window->PreviousButton->Click();
    EXPECT_EQ(Shown(*window), "Wolf");
    window->NextButton->Click();
    window->NextButton->Click();
    EXPECT_EQ(Shown(*window), "Eagle");
    EXPECT_FALSE(window->NextButton->Enabled());
    window->NextButton->Click();
    EXPECT_EQ(Shown(*window), "Eagle");

    window->UndeadButton->Click();
    EXPECT_EQ(Shown(*window), "Ghoul");
    window->AnimalsButton->Click();
    EXPECT_EQ(Shown(*window), "Eagle");

    // The keys by what they are: Home and End for the first and last page, the page keys
    // for turning, F1-F3 for the categories, Escape to close.
    for (const auto& [key, shown] :
         std::vector<std::pair<uint32_t, const char*>>{{Win32::VK_HOME, "Wolf"},
                                                       {Win32::VK_END, "Eagle"},
                                                       {Win32::VK_PRIOR, "Bear"},
                                                       {Win32::VK_NEXT, "Eagle"},
                                                       {Win32::VK_F1 + 1, "Archer"},
                                                       {Win32::VK_F1 + 2, "Ghoul"},
                                                       {Win32::VK_F1, "Eagle"}}) {
        Key(key);
        EXPECT_EQ(Shown(*window), shown) << key;
    }
    EXPECT_FALSE(window->Done());
    Key(Win32::VK_ESCAPE);
    EXPECT_TRUE(window->Done());
    EXPECT_EQ(window->ModalResult(), 1);
    delete window;
}

TEST_F(CreaturePedia, ListsTheViewingPlayersEncountersNotAnotherPlayers) {
    auto first = std::make_unique<GameData::TPlayer>(&Scenario);
    first->MetPrototypes.Add(10);
    TCreaturePediaWindow* window = Open({30});
    EXPECT_EQ(window->Animals.Count(), 0);
    EXPECT_EQ(Shown(*window), "Ghoul");
    delete window;
}

TEST_F(CreaturePedia, ARightClickCloses) {
    TCreaturePediaWindow* window = Open({10});
    Send(Win32::WM_RBUTTONDOWN, 0, Win32::PointToLParam(300, 200));
    EXPECT_TRUE(window->Done());
    delete window;
}

} // namespace

namespace {

using namespace Main;

class CreaturePediaDrawing : public GameWidgetDrawingTest {};

TEST_F(CreaturePediaDrawing, ALongDescriptionShowsItsBeginningAndHintsTheRest) {
    UseFont(8);
    Tools::TSpriteOptions options;
    options.ID = 1;
    const std::vector<Tools::TPicture> frames{
        SpriteTests::Picture(380, 500, [](int, int) { return 0xFFC0A060u; })};
    Data2::GlobalData->CreatureLibrary.OpenDirectory(std::make_unique<ClassLib::TMemoryStream>(
        Tools::EncodeSpriteLibrary(3, {Tools::EncodeSprite(frames, options)})));
    Data2::TUnitPrototype prototype{};
    prototype.ID = 7;
    prototype.CreatureType = 1;
    prototype.PictureID3 = 1;
    prototype.IsHero = 1;
    std::strcpy(prototype.Name, "Sir Aldemar of the Long Name");
    std::string description;
    for (int i = 0; i < 30; ++i)
        description += "He rode north in the year of the long winter. ";
    description += "THE-END";
    std::strncpy(prototype.Description, description.c_str(), sizeof prototype.Description - 1);
    prototype.Stats.Base(GameData::HITPOINTS) = 30;
    prototype.Stats.Delta(GameData::HITPOINTS) = 4;
    prototype.Stats.Every(GameData::HITPOINTS) = 2;
    prototype.Stats.Base(GameData::HPREGENERATE) = 1;
    Data2::GlobalData->UnitPrototypes.Add(prototype);

    GameData::TScenario scenario;
    GameData::TPlayer player(&scenario);
    player.MetPrototypes.Add(7);
    const THotkeyTable keys = MakeKeyTable();
    auto* window = new TCreaturePediaWindow(&Windows, &player, keys);
    window->Show();
    Windows.ProcessRequests();
    ASSERT_EQ(window->Humans.Count(), 1);
    EXPECT_EQ(window->DescriptionRest().substr(0, 3), "...");
    EXPECT_NE(window->DescriptionRest().find("THE-END"), std::string::npos);
    EXPECT_NE(window->DescriptionRest().substr(3, 1), " ");
    EXPECT_LE(window->Description().GetHeight(), 190 + 20);

    MoveTo(500, 300);
    Windows.Tick();
    EXPECT_EQ(window->Hint(), window->DescriptionRest());
    MoveTo(100, 300);
    Windows.Tick();
    EXPECT_EQ(window->Hint(), "");

    DrawFrame();
    SaveFrame("creature-pedia");
    // The picture is the page, the text lies on it from x = 429.
    EXPECT_NE(At(200, 300), Paper);
    int ink = 0;
    for (int y = 72; y < 475; ++y)
        for (int x = 429; x < 760; ++x)
            ink += At(x, y) != Paper && At(x, y) != At(200, 300);
    EXPECT_GT(ink, 1000);
    delete window;
}

} // namespace
