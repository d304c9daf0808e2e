#include "tools/levels/LevelDescription.h"

#include "engine/core/TextReader.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace Tools {

namespace {

int ReadInt(Data::TTextReader& text, int low, int high, const char* what) {
    int value = 0;
    try {
        value = Data::ReadTokenInt(text);
    } catch (const ClassLib::EReadError&) {
        throw ClassLib::Exception(
            ClassLib::Format("Level description: the text ends before the %s.", what));
    }
    if (value < low || value > high)
        throw ClassLib::Exception(ClassLib::Format("Level description: %s %d is not within %d..%d.",
                                                   what, value, low, high));
    return value;
}

// False at the end of the text, where the optional sections may stop.
bool ReadOptionalInt(Data::TTextReader& text, int low, int high, const char* what, int& value) {
    try {
        value = Data::ReadTokenInt(text);
    } catch (const ClassLib::EReadError&) {
        return false;
    }
    if (value < low || value > high)
        throw ClassLib::Exception(ClassLib::Format("Level description: %s %d is not within %d..%d.",
                                                   what, value, low, high));
    return true;
}

std::vector<int> ReadUnitList(Data::TTextReader& text, int low, int high) {
    const int count = ReadInt(text, low, high, "unit count");
    std::vector<int> units;
    for (int i = 0; i < count; ++i)
        units.push_back(ReadInt(text, 1, 10000, "unit prototype"));
    return units;
}

TLevelGuard ReadGuard(Data::TTextReader& text, const TLevelDescription& level) {
    TLevelGuard guard;
    guard.Alias = Data::ReadTokenString(text);
    // The interpreter reads a page's tags in capitals, and aliases match exactly.
    if (guard.Alias.empty() || std::any_of(guard.Alias.begin(), guard.Alias.end(),
                                           [](char c) { return c < 'A' || c > 'Z'; }))
        throw ClassLib::Exception("Level description: a guard's alias is a word in capitals.");
    // The first globals tell whether each side still plays.
    guard.Global =
        ReadInt(text, int(level.Players.size()), GameData::GlobalCount - 1, "guard global");
    guard.X = ReadInt(text, 0, level.Width - 1, "guard x");
    guard.Y = ReadInt(text, 0, level.Height - 1, "guard y");
    guard.Radius = ReadInt(text, 0, 10, "guard radius");
    const auto guarding =
        std::find_if(level.Groups.begin(), level.Groups.end(),
                     [&](const TLevelGroup& g) { return g.X == guard.X && g.Y == guard.Y; });
    if (guarding == level.Groups.end() || guarding->Owner == 255 ||
        level.Players[size_t(guarding->Owner)].Type != 1)
        throw ClassLib::Exception(
            "Level description: a guard's cell holds no group of a computer player.");
    for (const TLevelGuard& other : level.Guards)
        if (other.Alias == guard.Alias || other.Global == guard.Global)
            throw ClassLib::Exception("Level description: two guards share an alias or a global.");
    return guard;
}

// Guard tasks, then the conversations' file; the text may end before either.
void ReadScriptSections(Data::TTextReader& text, TLevelDescription& level) {
    int guards = 0;
    if (!ReadOptionalInt(text, 0, 20, "guard count", guards))
        return;
    for (int i = 0; i < guards; ++i)
        level.Guards.push_back(ReadGuard(text, level));
    try {
        level.ConversationFile = Data::ReadTokenString(text);
    } catch (const ClassLib::EReadError&) {
    }
}

} // namespace

TLevelDescription ReadLevelDescription(const std::vector<uint8_t>& bytes) {
    ClassLib::TMemoryStream source(bytes);
    Data::TTextReader text(source);
    TLevelDescription level;
    level.Stem = Data::ReadTokenString(text);
    if (level.Stem.empty() || level.Stem.size() > 8)
        throw ClassLib::Exception("Level description: the file stem needs 1 to 8 characters.");
    level.Title = Data::ReadTokenString(text);
    level.Briefing = Data::ReadTokenString(text);
    level.Width = ReadInt(text, 4, 128, "width");
    level.Height = ReadInt(text, 4, 128, "height");
    if (level.Width % 4 != 0 || level.Height % 4 != 0)
        throw ClassLib::Exception("Level description: map sizes are multiples of 4.");
    level.Seed = static_cast<uint32_t>(ReadInt(text, 0, 1 << 30, "seed"));
    level.Hilliness = ReadInt(text, 0, 20, "hilliness");
    level.WaterPercent = ReadInt(text, 0, 60, "water percent");
    level.Trees = ReadInt(text, 0, 4000, "tree count");
    level.Rocks = ReadInt(text, 0, 1000, "rock count");
    const int players = ReadInt(text, GameData::MinPlayers, GameData::MaxPlayers, "player count");
    for (int i = 0; i < players; ++i) {
        TLevelPlayer player;
        player.Name = Data::ReadTokenString(text);
        player.Type = ReadInt(text, 0, 1, "player type");
        player.Colour = ReadInt(text, 0, 7, "colour");
        player.Gold = ReadInt(text, 0, 1000000, "gold");
        player.StartX = ReadInt(text, 0, level.Width - 1, "start x");
        player.StartY = ReadInt(text, 0, level.Height - 1, "start y");
        level.Players.push_back(player);
    }
    const int groups = ReadInt(text, 0, 200, "group count");
    for (int i = 0; i < groups; ++i) {
        TLevelGroup group;
        group.Owner = ReadInt(text, 0, 255, "group owner");
        if (group.Owner != 255 && group.Owner >= players)
            throw ClassLib::Exception("Level description: a group names no player.");
        group.X = ReadInt(text, 0, level.Width - 1, "group x");
        group.Y = ReadInt(text, 0, level.Height - 1, "group y");
        group.Units = ReadUnitList(text, 1, 3);
        level.Groups.push_back(group);
    }
    const int cities = ReadInt(text, 0, 50, "city count");
    for (int i = 0; i < cities; ++i) {
        TLevelCity city;
        city.Owner = ReadInt(text, 0, 255, "city owner");
        if (city.Owner != 255 && city.Owner >= players)
            throw ClassLib::Exception("Level description: a city names no player.");
        city.X = ReadInt(text, 0, level.Width - 2, "city x");
        city.Y = ReadInt(text, 0, level.Height - 3, "city y");
        city.Caption = Data::ReadTokenString(text);
        city.Defenders = ReadUnitList(text, 0, 3);
        city.Civilians = ReadUnitList(text, 0, 3);
        level.Cities.push_back(city);
    }
    ReadScriptSections(text, level);
    return level;
}

TLevelDescription ReadLevelDescriptionFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ClassLib::Exception(ClassLib::Format("Cannot open '%s'.", path.c_str()));
    TLevelDescription level = ReadLevelDescription(std::vector<uint8_t>(
        std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    if (!level.ConversationFile.empty()) {
        const std::string name =
            (std::filesystem::path(path).parent_path() / level.ConversationFile).string();
        std::ifstream source(name, std::ios::binary);
        if (!source)
            throw ClassLib::Exception(ClassLib::Format("Cannot open '%s'.", name.c_str()));
        level.Conversations.assign(std::istreambuf_iterator<char>(source),
                                   std::istreambuf_iterator<char>());
    }
    return level;
}

} // namespace Tools
