// A whole, small set of game data made with the project's writers: the 18 files that
// "default.txt" names (text files, sprite libraries, sound libraries, fonts) in the
// archives "globals", "graphics", "sounds" (and an empty "scenario"). Tests change a
// file's text or drop a file before writing the set as folders or packed archives.
#pragma once

#include "tools/ArchiveWriter.h"

#include <map>
#include <string>

namespace TestSupport {

// The files "default.txt" lists, in its order, with their archives.
struct TDataFileName {
    const char* Archive;
    const char* Name;
};
extern const TDataFileName GlobalDataFiles[18];

struct TGlobalDataSizes {
    int Units = 3;
    int Spells = 4; // the first half map spells from ID 1, the rest battle spells from 65
    int Skills = 3;
    int CommonSprites = 4; // distinct sprites the common sprite IDs cycle through
    int SpriteSize = 6;    // width and height of every sprite but the loading picture
};

class TGlobalDataFixture {
public:
    // Sprite and sound IDs the files refer to.
    static constexpr int InterfaceSoundIDs = 19; // effect sounds 1-19
    static constexpr int EffectSoundCount = 24;
    static constexpr int MusicCount = 3;
    static constexpr int CreatureSprites = 4;
    static constexpr int PictureSprites = 2;
    static constexpr int LevelCount = 3;
    static constexpr int FontIDs[10] = {1, 2, 3, 4, 5, 6, 7, 8, 27, 9};

    TGlobalDataFixture() : TGlobalDataFixture(TGlobalDataSizes{}) {}
    explicit TGlobalDataFixture(const TGlobalDataSizes& sizes);

    // Contents as the writers made them (not scrambled), by archive and file name.
    std::map<std::string, std::map<std::string, Tools::TBytes>> Archives;

    void SetText(const std::string& archive, const std::string& name, const std::string& text);
    std::string Text(const std::string& archive, const std::string& name) const;
    void Remove(const std::string& archive, const std::string& name);

    // Under dataPath (ending in "/"): a folder per archive, or a ".dat" file per archive.
    void WriteFolders(const std::string& dataPath) const;
    void WritePacked(const std::string& dataPath) const;

    const TGlobalDataSizes Sizes;
};

// A fixture's data written to a temporary folder that DataPath points at, with the
// archives open. The destructor frees the global and main data, closes the archives
// and puts DataPath back.
class TInstalledData {
public:
    explicit TInstalledData(const TGlobalDataFixture& fixture, bool packed = false);
    ~TInstalledData();
    TInstalledData(const TInstalledData&) = delete;
    TInstalledData& operator=(const TInstalledData&) = delete;

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
    std::string FOldDataPath;
};

} // namespace TestSupport
