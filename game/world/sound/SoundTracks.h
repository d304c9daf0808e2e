// Music, speech and interface sounds on the sound framework's three reserved tracks
// (0 music, 1 interface, 2 speech), and effects by identifier. Every function does
// nothing without a sound framework or global data; volumes are percentages.
#pragma once

#include <cstdint>

namespace Audio {
class TAudioList;
}

namespace GameData {

constexpr int MusicTrack = 0;
constexpr int InterfaceTrack = 1;
constexpr int SpeechTrack = 2;

// Replaces the playing music with the music list's sound; nothing at volume 0.
void PlayMusic(uint32_t id, int volume, bool loop, int startPosition);
// Fades the music out unless the music volume option is 0.
void StopMusic();
// The list's sound played once on a free track; nothing for an unknown identifier.
void PlayEffectByID(Audio::TAudioList* list, uint32_t id, int volume);
// The speech list's sound at the speech volume option; nothing when that is 0.
void PlaySpeech(uint32_t id);
void StopSpeech();
// An effect-list sound on the interface track, unless the effect volume option is 0:
// started at once, or with immediate set, faded in after what the track plays.
void PlayInterfaceSound(uint32_t id, int volume, bool immediate);
void StopInterfaceSound(bool fade);
bool IsInterfaceSoundPlaying();

} // namespace GameData
