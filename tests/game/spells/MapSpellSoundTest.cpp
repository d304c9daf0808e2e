// The sounds of a map spell: a cast that changes nothing is heard by the player at this
// machine when it sees the caster, and the effect's phase sounds go to free tracks of
// the game's sound framework.
#include "engine/sound/SoundStartup.h"
#include "game/spells/SpellVisual.h"
#include "tests/engine/sound/SoundFrameworkFixture.h"
#include "tests/game/spells/MapSpellFixture.h"

namespace MapSpellTests {
namespace {

using SoundFrameworkTesting::TTestStream;

class MapSpellSoundTest : public SoundFrameworkTesting::SoundFramework, public TMapSpellWorld {
protected:
    MapSpellSoundTest() {
        Start();
        Main::DSFramework = std::move(Sound);
        Data.Global().InterfaceSounds[3] = &NothingHappened;
    }
    ~MapSpellSoundTest() override { Main::DSFramework.reset(); }

    TTestStream NothingHappened{1000};
};

TEST_F(MapSpellSoundTest, ACastThatChangesNothingIsHeardWhereTheCasterIsSeen) {
    World->Scenario->UpdateVisibilityOfIndex(Red);
    // No such spell: nothing happens, and red (at this machine) sees its own mage.
    EXPECT_FALSE(CastMapSpell(*World->Scenario, *Caster, 99, 3, 3).Affected);
    const int heard = Main::DSFramework->TracksInUse();
    EXPECT_EQ(heard, 1);

    // A blue mage far out of red's sight casts unheard.
    TGroup* far = AddGroup(Blue, 11, 11, {Mage});
    World->Scenario->UpdateVisibilityOfIndex(Red);
    ASSERT_FALSE(World->Player(Red).IsObjectVisible(*far));
    EXPECT_FALSE(CastMapSpell(*World->Scenario, *far->UnitAt(0), 99, 10, 10).Affected);
    EXPECT_EQ(Main::DSFramework->TracksInUse(), heard);
}

TEST_F(MapSpellSoundTest, PhaseSoundsPlayOnFreeTracksOfTheGamesFramework) {
    TTestStream impact(1000);
    Data2::TSpellPrototype& record = AddSpell(2, {});
    record.ImpactSound = &impact;
    World->Scenario->CurrentPlayer = &World->Player(Red);
    World->Scenario->UpdateVisibilityOfIndex(Red);
    TSpell visual;
    visual.Scenario = World->Scenario.get();
    visual.Prototype = &record;
    visual.Volume = 70;
    visual.StartSpellAnimation(2 * 40 + 20, 2 * 40 + 20, 3 * 40 + 20, 2 * 40 + 20);
    visual.Advance();
    ASSERT_EQ(Main::DSFramework->TracksInUse(), 1);
    EXPECT_EQ(Main::DSFramework->Track(2).Volume, 70); // the first unreserved track
}

} // namespace
} // namespace MapSpellTests
