// Sound effects played once on a free track of the sound framework, and the volume of
// the interface's own effects. Without a sound framework nothing is played.
#pragma once

namespace Audio {
class TAudioStream;
}

namespace GameData {

// Plays the stream once from its start; nothing for a null stream or volume 0. The
// stream stays its lender's.
void PlayEffect(Audio::TAudioStream* stream, int volume);
// The effect volume option scaled by the global data's interface volume percentage;
// 0 while there is no global data.
int GetEffectVolume();

} // namespace GameData
