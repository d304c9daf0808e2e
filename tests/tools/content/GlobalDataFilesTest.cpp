// The global data sources read in the game's token order, with every length,
// flag, identifier and cross-reference checked: a slip in hand-edited data
// shows up here rather than as a load error at start-up.
#include "tests/tools/content/GlobalDataFiles.h"
#include "engine/sound/AudioList.h"
#include "game/world/data/GlobalData.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/TempDir.h"
#include "tools/ArchiveWriter.h"
#include "tools/content/SoundContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

using namespace TestSupport;

namespace {

constexpr int LEVEL = 0, EXPERIENCES = 1, MORALE = 2, PRICE = 3;
constexpr int StatCount = 10;

int AtLevel(const TStatsRecord& stats, int stat, int level) {
    const int* s = &stats.Words[4 + 4 * stat];
    return s[3] == 0 ? s[1] : s[1] + ((level - 1) / s[3]) * s[2];
}

int ExperienceForLevel(const TStatsRecord& stats, int level) {
    int sum = 0;
    for (int l = 1; l <= level; ++l)
        sum += (l > 1 ? stats.Words[44] : 0) + (l - 1) * stats.Words[45];
    return sum;
}

template <typename Record>
std::map<int, const Record*> ByID(const std::vector<Record>& records) {
    std::map<int, const Record*> byID;
    for (const Record& r : records)
        EXPECT_TRUE(byID.emplace(r.ID, &r).second) << "ID " << r.ID << " twice";
    return byID;
}

std::set<uint32_t> LibraryIDs(const TempDir& dir, const char* name) {
    Audio::TAudioList list;
    list.LoadFromStream(MemoryStream(Tools::LoadLooseFile(dir.File(name))), false);
    std::set<uint32_t> ids;
    for (int i = 0; i < list.Directory().Count(); ++i)
        ids.insert(list.Directory()[i].ID);
    return ids;
}

} // namespace

TEST(GlobalDataFiles, DefaultListNamesEighteenFilesThatExist) {
    TDataFile file("default.txt");
    const std::vector<std::string> libraries{"interface.gfxl", "common.gfxl",  "pictures.gfxl",
                                             "creatures.gfxl", "effects.audl", "music.audl",
                                             "speech.audl",    "spells.gfxl"};
    std::vector<std::string> names;
    for (int i = 0; i < 18; ++i)
        names.push_back(file.Text(128));
    EXPECT_TRUE(file.AtEnd());
    // Positions of the libraries among the 18; the rest are text files here.
    const std::map<int, std::string> expected{
        {1, "interface.gfxl"}, {7, "common.gfxl"}, {8, "pictures.gfxl"}, {9, "creatures.gfxl"},
        {10, "effects.audl"},  {11, "music.audl"}, {12, "speech.audl"},  {14, "spells.gfxl"}};
    for (int i = 0; i < 18; ++i) {
        if (expected.contains(i))
            EXPECT_EQ(names[i], expected.at(i));
        else
            EXPECT_TRUE(std::filesystem::exists(std::string(VRN_GLOBALS_DIR) + "/" + names[i]))
                << names[i];
    }
}

TEST(GlobalDataFiles, SpriteAndPictureListsFollowTheIDScheme) {
    // Each slot holds its own number as the ID, or 0 for an empty slot. Interface and
    // common slots count from 0 (interface slot 0 shows the pointer of slot 1), picture
    // slots from 1.
    const struct {
        const char* name;
        int first, count, slotZeroID;
    } lists[] = {{"interface-sprites.txt", 0, 27, 1},
                 {"common-sprites.txt", 0, Data2::CommonSpriteCount, 0},
                 {"pictures.txt", 1, 57, 0}};
    for (const auto& [name, first, count, slotZeroID] : lists) {
        TDataFile file(name);
        for (int slot = first; slot < first + count; ++slot) {
            const int id = file.Int();
            const int expected = slot == 0 ? slotZeroID : slot;
            EXPECT_TRUE(id == 0 || id == expected) << name << " slot " << slot << ": " << id;
        }
        if (std::string(name) == "common-sprites.txt") {
            EXPECT_GT(file.Int(), 0); // badge cell width
            EXPECT_GT(file.Int(), 0); // and height
        }
        EXPECT_TRUE(file.AtEnd()) << name;
    }
}

TEST(GlobalDataFiles, VideosConstantsAndCampaign) {
    TDataFile videos("videos.txt");
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(videos.Text(128).empty());
    EXPECT_TRUE(videos.AtEnd());

    TDataFile file("constants.txt");
    std::array<int, 42> constants{};
    for (int& c : constants)
        c = file.Int();
    EXPECT_EQ(constants[0], 50); // default morale
    EXPECT_LE(constants[0], constants[1]);
    EXPECT_LT(constants[10], constants[11]); // height thresholds ascend
    EXPECT_LT(constants[11], constants[12]);
    EXPECT_GT(constants[13], 0); // acting and attacking cost action points
    EXPECT_EQ(constants[35], 75);
    EXPECT_EQ(constants[36], 100);
    EXPECT_EQ(constants[37], 125);
    const int levels = file.Int();
    EXPECT_EQ(levels, 3);
    ASSERT_LE(levels, 30);
    for (int i = 1; i <= levels; ++i)
        EXPECT_EQ(file.Text(128), "level" + std::to_string(i) + ".scn");
    EXPECT_TRUE(file.AtEnd());
}

TEST(GlobalDataFiles, FontsCoverTheInterfaceFonts) {
    TDataFile file("fonts.txt");
    std::set<int> ids;
    const int count = file.Int();
    for (int i = 0; i < count; ++i) {
        const int id = file.Int();
        EXPECT_TRUE(ids.insert(id).second) << id;
        EXPECT_EQ(file.Text(128), ClassLib::Format("font%02d.fnt", id));
    }
    EXPECT_TRUE(file.AtEnd());
    for (const int id : {1, 2, 3, 4, 5, 6, 7, 8, 27})
        EXPECT_TRUE(ids.contains(id)) << id;
}

TEST(GlobalDataFiles, UnitPrototypesMakeTheCombatRulesMeaningful) {
    const auto units = ReadUnits();
    const auto spellRecords = ReadSpells();
    const auto skillRecords = ReadSkills();
    const auto spells = ByID(spellRecords);
    const auto skills = ByID(skillRecords);
    ASSERT_GE(units.size(), 10u);
    int heroes = 0;
    for (const TUnitRecord& u : units) {
        SCOPED_TRACE(u.Name);
        const TStatsRecord& s = u.Stats;
        const int level = s.Words[LEVEL];
        EXPECT_EQ(u.ID, &u - units.data() + 1);
        EXPECT_GE(level, 1);
        EXPECT_LE(level, 20);
        EXPECT_EQ(s.Words[EXPERIENCES], ExperienceForLevel(s, level));
        EXPECT_EQ(s.Words[MORALE], 50);
        EXPECT_GT(s.Words[PRICE], 0);
        for (int stat = 0; stat < StatCount; ++stat) {
            EXPECT_EQ(s.Words[4 + 4 * stat], AtLevel(s, stat, level)) << "statistic " << stat;
            EXPECT_GE(s.Words[7 + 4 * stat], 0) << "EVERY of statistic " << stat;
        }
        // Hit points, action points, attack and sight; blows get through some defence.
        for (const int stat : {0, 4, 6, 9})
            EXPECT_GT(AtLevel(s, stat, level), 0) << "statistic " << stat;
        EXPECT_GT(AtLevel(s, 6, level) + 5, AtLevel(s, 8, level));
        EXPECT_GE(AtLevel(s, 4, level), 16); // a few steps and a blow each turn
        EXPECT_GT(s.Words[44], 0);
        for (int id = 1; id <= 64; ++id) {
            if (HasBit(s.Spells, id)) {
                EXPECT_TRUE(HasBit(s.LearnableSpells, id)) << "spell " << id;
                ASSERT_TRUE(spells.contains(id)) << "spell " << id;
                EXPECT_LE(spells.at(id)->MinLevel, level) << "spell " << id;
                if (id <= 61) {
                    EXPECT_TRUE(spells.contains(id + 64)) << "spell " << id;
                }
                EXPECT_GT(AtLevel(s, 2, level), spells.at(id)->ManaCost) << "mana for " << id;
            }
            if (HasBit(s.LearnableSpells, id)) {
                EXPECT_TRUE(spells.contains(id)) << "learnable spell " << id;
            }
            if (HasBit(s.Skills, id) || HasBit(s.LearnableSkills, id)) {
                EXPECT_TRUE(skills.contains(id)) << "skill " << id;
            }
        }
        const int k = u.ID;
        // Portrait, detail picture and the encyclopedia's page.
        EXPECT_EQ(u.Pictures, (std::array<int, 3>{k * 1000 + 900, k * 1000 + 901, k * 1000 + 902}));
        EXPECT_TRUE(u.IdleMode == 1 || u.IdleMode == 2);
        EXPECT_GT(u.IdlePeriod, 0);
        for (int set = 0; set < 10; ++set)
            for (int d = 0; d < 8; ++d)
                EXPECT_EQ(u.Sprites[set][d], set == 3 ? 0 : k * 1000 + set * 10 + d);
        EXPECT_TRUE(u.CreatureType == 1 || u.CreatureType == 2 || u.CreatureType == 4 ||
                    u.CreatureType == 8);
        heroes += u.IsHero;
        EXPECT_FALSE(u.Name.empty());
        EXPECT_EQ(u.Sounds, (std::array<int, 3>{100 + 3 * k, 101 + 3 * k, 102 + 3 * k}));
        // They pick the hit sound of a strike: sounds.txt entries 8 to 19.
        EXPECT_GE(u.WeaponKind, 1);
        EXPECT_LE(u.WeaponKind, 4);
        EXPECT_GE(u.ArmourKind, 1);
        EXPECT_LE(u.ArmourKind, 3);
        EXPECT_GT(u.Description.size(), 40u);
    }
    EXPECT_GE(heroes, 3);
}

TEST(GlobalDataFiles, EverySpellRuleHasARecord) {
    const auto spells = ReadSpells();
    const auto unitRecords = ReadUnits();
    const auto units = ByID(unitRecords);
    std::set<int> ids;
    for (const TSpellRecord& s : spells) {
        SCOPED_TRACE(s.Name);
        ids.insert(s.ID);
        const bool battle = s.ID >= 65;
        EXPECT_EQ(s.Group, battle ? 2 : 1);
        EXPECT_FALSE(s.Name.empty());
        EXPECT_FALSE(s.Description.empty());
        EXPECT_NE(s.TargetFlags, 0);
        EXPECT_EQ(s.TargetFlags & ~(battle ? 0x13 : 0x3F), 0);
        EXPECT_GE(s.MinLevel, 1);
        EXPECT_LE(s.MinLevel, 8);
        EXPECT_GT(s.ManaCost, 0);
        EXPECT_GT(s.APCost, 0);
        EXPECT_GE(s.Phase, 0);
        EXPECT_LE(s.Phase, 3);
        EXPECT_EQ(s.IconID, s.ID);
        // Effect sprites and sounds by family 1-10; a beam stands in for the impact.
        const int family = s.CastSprite - 1000;
        EXPECT_GE(family, 1);
        EXPECT_LE(family, 10);
        EXPECT_EQ(s.ImpactSound, 302 + 3 * family);
        EXPECT_TRUE(s.ImpactSprite == 1200 + family || s.ImpactSprite == 1300 + family);
        EXPECT_EQ(s.CastSound, 300 + 3 * family);
        EXPECT_TRUE(s.FlightSprite == 0 || s.FlightSprite == 1100 + family);
        EXPECT_EQ(s.FlightSound, s.FlightSprite ? 301 + 3 * family : 0);
        EXPECT_EQ(s.FlightSpeed > 0, s.FlightSprite != 0);
        EXPECT_GT(s.ImpactTicks, 0);
        for (const int p : s.Params) {
            EXPECT_GE(p, INT16_MIN);
            EXPECT_LE(p, INT16_MAX);
        }
    }
    std::set<int> expected;
    for (int id = 1; id <= 61; ++id)
        expected.insert({id, id + 64});
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(spells.size(), ids.size());

    // Spells that summon or transform name unit prototypes in their parameters.
    const auto byID = ByID(spells);
    EXPECT_TRUE(units.contains(byID.at(23)->Params[0]));
    for (const int id : {23, 47, 50, 59, 61})
        EXPECT_TRUE(units.contains(byID.at(id)->Params[1])) << id;
    EXPECT_TRUE(units.contains(byID.at(87)->Params[2]));
}

TEST(GlobalDataFiles, SkillsAndTheHerbalistsAbilitiesAgree) {
    const auto skills = ReadSkills();
    const auto spellRecords = ReadSpells();
    const auto spells = ByID(spellRecords);
    ASSERT_EQ(skills.size(), 64u);
    for (const TSkillRecord& s : skills) {
        SCOPED_TRACE(s.Name);
        EXPECT_EQ(s.ID, &s - skills.data() + 1);
        EXPECT_FALSE(s.Description.empty());
        EXPECT_GE(s.MinLevel, 1);
        EXPECT_GE(s.APCost, 0);
        EXPECT_GE(s.Duration, 0);
        EXPECT_EQ(s.Permanent.Words[LEVEL], 0);
        EXPECT_EQ(s.Temporary.Words[LEVEL], 0);
        if (s.Duration == 0) {
            EXPECT_EQ(s.Temporary.Words, (std::array<int, 48>{}));
        }
        // Learning a skill gives it: a merchant then no longer sells it to the unit.
        EXPECT_TRUE(HasBit(s.Permanent.Skills, s.ID));
        // The herbalist shows skill n as battle spell n + 64: an ability that
        // teaches a spell teaches that very one, under its name.
        for (int id = 1; id <= 64; ++id)
            if (HasBit(s.Permanent.Spells, id)) {
                EXPECT_EQ(id, s.ID);
                EXPECT_TRUE(HasBit(s.Permanent.LearnableSpells, id));
                ASSERT_TRUE(spells.contains(id + 64));
                EXPECT_EQ(s.Name, spells.at(id + 64)->Name);
                EXPECT_GE(s.MinLevel, spells.at(id + 64)->MinLevel);
            }
    }
}

TEST(GlobalDataFiles, EverySoundIDExistsInTheSoundLibraries) {
    TempDir dir;
    Content::WriteSounds(dir.Path());
    const auto effects = LibraryIDs(dir, "effects.audl");
    const auto music = LibraryIDs(dir, "music.audl");

    const TSoundAssignments sounds = ReadSoundAssignments();
    for (const int id : sounds.Interface)
        EXPECT_TRUE(effects.contains(id)) << id;
    EXPECT_EQ(sounds.Weather[0], (std::array<int, 2>{0, 0})); // no weather, no sound
    for (int state = 1; state < 4; ++state) {
        EXPECT_TRUE(effects.contains(sounds.Weather[state][0])) << state;
        EXPECT_GT(sounds.Weather[state][1], 0);
        EXPECT_LE(sounds.Weather[state][1], 100);
    }
    for (const int id : sounds.Music)
        EXPECT_TRUE(music.contains(id)) << id;

    for (const TUnitRecord& u : ReadUnits())
        for (const int id : u.Sounds)
            EXPECT_TRUE(effects.contains(id)) << u.Name << " " << id;
    for (const TSpellRecord& s : ReadSpells())
        for (const int id : {s.CastSound, s.FlightSound, s.ImpactSound})
            EXPECT_TRUE(id == 0 || effects.contains(id)) << s.Name << " " << id;
}
