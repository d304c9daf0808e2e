#include "tools/content/SoundContent.h"

#include "engine/sound/AudioList.h"
#include "tools/AudioWriters.h"
#include "tools/content/SoundDesigns.h"

#include <filesystem>

namespace Content {

namespace {

// Effects are short and many: 16-bit PCM in AX files plays at once with no
// decoding; the weather loops as well, where IMA ADPCM would click at the seam.
Tools::TBytes EffectFile(const TSignal& signal) {
    const std::vector<int16_t> pcm = ToPCM16(signal);
    return Tools::EncodeAX(pcm.data(), static_cast<uint32_t>(signal.Size()),
                           {signal.Rate(), 16, 1, 2}, Audio::omWritePCM);
}

void AddEffects(Tools::TAudioListWriter& writer, const std::vector<TSound>& sounds) {
    for (const TSound& sound : sounds)
        writer.Add(sound.ID, Audio::alAX, EffectFile(sound.Signal));
}

void Save(const std::string& folder, const char* name, const Tools::TAudioListWriter& writer) {
    Tools::SaveLooseFile((std::filesystem::path(folder) / name).string(), writer.Build());
}

} // namespace

void WriteSounds(const std::string& soundsFolder) {
    Tools::TAudioListWriter effects;
    AddEffects(effects, InterfaceSounds());
    AddEffects(effects, WeatherSounds());
    AddEffects(effects, CreatureSounds());
    AddEffects(effects, SpellSounds());
    Save(soundsFolder, "effects.audl", effects);

    Tools::TAudioListWriter music;
    for (const TStereoSound& piece : MusicPieces()) {
        const std::vector<int16_t> pcm = ToPCM16(piece.Left, piece.Right);
        Tools::TMP3Options options;
        options.SampleRate = MusicRate;
        options.Channels = 2;
        music.Add(piece.ID, Audio::alMP3,
                  Tools::EncodeMP3(pcm.data(), static_cast<uint32_t>(pcm.size() / 2), options));
    }
    Save(soundsFolder, "music.audl", music);

    Tools::TAudioListWriter speech;
    AddEffects(speech, SpeechSounds());
    Save(soundsFolder, "speech.audl", speech);
}

} // namespace Content
