// A campaign level as its human-readable source describes it: map size and terrain
// settings, players, groups and cities, and optionally guard tasks and conversations.
// The builder turns it into a scenario and opens the market (the four merchants and
// their prices) in every town a player holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Tools {

struct TLevelPlayer {
    std::string Name;
    int Type = 0; // 0 local, 1 computer
    int Colour = 0;
    int Gold = 0;
    int StartX = 0; // cells
    int StartY = 0;
};

struct TLevelGroup {
    int Owner = 255; // player index, 255 for a neutral group
    int X = 0;
    int Y = 0;
    std::vector<int> Units; // unit prototype identifiers, one to three
};

struct TLevelCity {
    int Owner = 255;
    int X = 0; // top-left of its 2 x 2 cells
    int Y = 0;
    std::string Caption;
    std::vector<int> Defenders; // unit prototype identifiers of its first row
    std::vector<int> Civilians; // unit prototype identifiers the inn offers for hire
};

// A computer player's group that holds its own cell: a guard task whose identifier the
// level's scripts read through a global alias.
struct TLevelGuard {
    std::string Alias; // the global's name in scripts, in capitals
    int Global = 0;    // the global that holds the task's identifier
    int X = 0;         // the guarding group's cell, the one it guards
    int Y = 0;
    int Radius = 0; // cells around it that count as held
};

struct TLevelDescription {
    std::string Stem; // file names: Stem + ".scn", Stem + ".bkg"
    std::string Title;
    std::string Briefing;
    int Width = 0; // cells
    int Height = 0;
    uint32_t Seed = 0;
    int Hilliness = 0;    // the highest height of the land
    int WaterPercent = 0; // share of the map under water
    int Trees = 0;
    int Rocks = 0;
    std::vector<TLevelPlayer> Players;
    std::vector<TLevelGroup> Groups;
    std::vector<TLevelCity> Cities;
    // Optional, after the cities: guard tasks, then the file of the level's conversations
    // (the format of tools/ConversationSource.h), relative to the description's folder.
    std::vector<TLevelGuard> Guards;
    std::string ConversationFile;
    std::string Conversations; // that file's text; read with the description from a file
};

// Reads the description with the game's text data rules (blanks separate tokens,
// ";" starts a comment, quotes group words). Raises an Exception naming the fault. Only
// the file reader reads the conversations' file.
TLevelDescription ReadLevelDescription(const std::vector<uint8_t>& text);
TLevelDescription ReadLevelDescriptionFile(const std::string& path);

} // namespace Tools
