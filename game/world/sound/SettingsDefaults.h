// The volume options of the game settings as the sound functions read them. The game
// settings are not read from "vrn.ini" yet: until they are, these are their defaults,
// and the settings code replaces this source.
#pragma once

namespace GameData {

struct TVolumeOptions {
    int Music = 100;  // percent
    int Effect = 100; // "SFXVolume", percent
    int Speech = 100; // percent
};

// The settings' defaults: every volume at 100.
inline TVolumeOptions VolumeOptions() {
    return {};
}

} // namespace GameData
