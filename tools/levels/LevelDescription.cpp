#include "tools/levels/LevelDescription.h"

#include "engine/core/TextReader.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"

#include <fstream>
#include <iterator>

namespace Tools {

namespace {

int ReadInt(ClassLib::TStream* stream, int low, int high, const char* what) {
    const int value = Data::ReadTokenInt(stream);
    if (value < low || value > high)
        throw ClassLib::Exception(ClassLib::Format("Level description: %s %d is not within %d..%d.",
                                                   what, value, low, high));
    return value;
}

std::vector<int> ReadUnitList(ClassLib::TStream* stream, int low, int high) {
    const int count = ReadInt(stream, low, high, "unit count");
    std::vector<int> units;
    for (int i = 0; i < count; ++i)
        units.push_back(ReadInt(stream, 1, 10000, "unit prototype"));
    return units;
}

} // namespace

TLevelDescription ReadLevelDescription(const std::vector<uint8_t>& text) {
    ClassLib::TMemoryStream source(text);
    ClassLib::TStream* stream = &source;
    TLevelDescription level;
    level.Stem = Data::ReadTokenString(stream);
    if (level.Stem.empty() || level.Stem.size() > 8)
        throw ClassLib::Exception("Level description: the file stem needs 1 to 8 characters.");
    level.Title = Data::ReadTokenString(stream);
    level.Briefing = Data::ReadTokenString(stream);
    level.Width = ReadInt(stream, 4, 128, "width");
    level.Height = ReadInt(stream, 4, 128, "height");
    if (level.Width % 4 != 0 || level.Height % 4 != 0)
        throw ClassLib::Exception("Level description: map sizes are multiples of 4.");
    level.Seed = static_cast<uint32_t>(ReadInt(stream, 0, 1 << 30, "seed"));
    level.Hilliness = ReadInt(stream, 0, 20, "hilliness");
    level.WaterPercent = ReadInt(stream, 0, 60, "water percent");
    level.Trees = ReadInt(stream, 0, 4000, "tree count");
    level.Rocks = ReadInt(stream, 0, 1000, "rock count");
    const int players = ReadInt(stream, 2, 5, "player count");
    for (int i = 0; i < players; ++i) {
        TLevelPlayer player;
        player.Name = Data::ReadTokenString(stream);
        player.Type = ReadInt(stream, 0, 1, "player type");
        player.Colour = ReadInt(stream, 0, 7, "colour");
        player.Gold = ReadInt(stream, 0, 1000000, "gold");
        player.StartX = ReadInt(stream, 0, level.Width - 1, "start x");
        player.StartY = ReadInt(stream, 0, level.Height - 1, "start y");
        level.Players.push_back(player);
    }
    const int groups = ReadInt(stream, 0, 200, "group count");
    for (int i = 0; i < groups; ++i) {
        TLevelGroup group;
        group.Owner = ReadInt(stream, 0, 255, "group owner");
        if (group.Owner != 255 && group.Owner >= players)
            throw ClassLib::Exception("Level description: a group names no player.");
        group.X = ReadInt(stream, 0, level.Width - 1, "group x");
        group.Y = ReadInt(stream, 0, level.Height - 1, "group y");
        group.Units = ReadUnitList(stream, 1, 3);
        level.Groups.push_back(group);
    }
    const int cities = ReadInt(stream, 0, 50, "city count");
    for (int i = 0; i < cities; ++i) {
        TLevelCity city;
        city.Owner = ReadInt(stream, 0, 255, "city owner");
        if (city.Owner != 255 && city.Owner >= players)
            throw ClassLib::Exception("Level description: a city names no player.");
        city.X = ReadInt(stream, 0, level.Width - 2, "city x");
        city.Y = ReadInt(stream, 0, level.Height - 3, "city y");
        city.Caption = Data::ReadTokenString(stream);
        city.Defenders = ReadUnitList(stream, 0, 3);
        level.Cities.push_back(city);
    }
    return level;
}

TLevelDescription ReadLevelDescriptionFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ClassLib::Exception(ClassLib::Format("Cannot open '%s'.", path.c_str()));
    return ReadLevelDescription(std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                                                     std::istreambuf_iterator<char>()));
}

} // namespace Tools
