// The game's sound libraries, synthesised: interface, weather, creature and
// spell sounds, the music and a speech sample.
#pragma once

#include <string>

namespace Content {

// Writes "effects.audl", "music.audl" and "speech.audl" into soundsFolder (which
// must exist) as loose data files, so the folder itself serves as the "sounds"
// archive or packs into one. The same call always writes the same bytes.
void WriteSounds(const std::string& soundsFolder);

} // namespace Content
