// The designs of the game's synthesised sounds, each a set of sounds by their
// IDs in the sound libraries.
#pragma once

#include "tools/content/Synth.h"

#include <cstdint>
#include <vector>

namespace Content {

constexpr uint32_t EffectRate = 22050;
constexpr uint32_t MusicRate = 32000;

struct TSound {
    uint32_t ID;
    TSignal Signal;
};

struct TStereoSound {
    uint32_t ID;
    TSignal Left;
    TSignal Right;
};

// Interface sounds 1-19: clicks, scrolls, coins and the hits of a strike.
std::vector<TSound> InterfaceSounds();
// Seamless loops: 21 rain, 22 snow wind, 23 sand storm.
std::vector<TSound> WeatherSounds();
// Per creature kind k (1-12): 100 + 3k attack, 101 + 3k and 102 + 3k death.
std::vector<TSound> CreatureSounds();
// Per spell family f (1-10): 300 + 3f cast, 301 + 3f flight, 302 + 3f impact.
std::vector<TSound> SpellSounds();
// 1 main menu, 2 map, 3 credits.
std::vector<TStereoSound> MusicPieces();
// A short spoken-sounding phrase, ID 1.
std::vector<TSound> SpeechSounds();

} // namespace Content
