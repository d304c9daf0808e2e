// The sound framework's tracks: starting streams and caller requests, volumes
// and the start of fades.
#include "engine/sound/DSFramework.h"

#include "engine/core/DXErrors.h"
#include "engine/sound/DSBufferLock.h"
#include "platform/classlib/Exception.h"
#include "platform/win32/Clock.h"

#include <algorithm>

namespace DSFrame {

using Base::EDirectSoundError;
using namespace Win32;

bool SameFormat(const TSoundFormat& a, const TSoundFormat& b) {
    return a.SampleRate == b.SampleRate && a.BitsPerSample == b.BitsPerSample &&
           a.Channels == b.Channels;
}

TSoundFormat StreamFormat(const TAudioStream& stream) {
    return {static_cast<int32_t>(stream.SampleRate()), static_cast<int32_t>(stream.BitsPerSample()),
            static_cast<int32_t>(stream.Channels()), static_cast<int32_t>(stream.FrameBytes())};
}

WAVEFORMATEX ToWaveFormat(const TSoundFormat& format) {
    WAVEFORMATEX wave;
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = static_cast<uint16_t>(format.Channels);
    wave.nSamplesPerSec = static_cast<uint32_t>(format.SampleRate);
    wave.nAvgBytesPerSec = static_cast<uint32_t>(format.BlockAlign * format.SampleRate);
    wave.nBlockAlign = static_cast<uint16_t>(format.BlockAlign);
    wave.wBitsPerSample = static_cast<uint16_t>(format.BitsPerSample);
    wave.cbSize = 0;
    return wave;
}

int32_t VolumeToAttenuation(int volume) {
    const double x = (100 - std::clamp(volume, 0, 100)) * 0.63246;
    return -static_cast<int32_t>(x * x);
}

// Public operations ------------------------------------------------------------

int TDSFramework::Play(TAudioStreamPtr stream, uint32_t flags, int volume, bool keepPosition,
                       bool raiseWhenFull) {
    const TLock lock = Guard();
    if (!stream)
        return -1;
    const TSoundFormat format = StreamFormat(*stream);
    int chosen = -1;
    if (!(FFlags & dsoReleaseBuffers))
        for (int track = FReservedTrackCount; track < FTrackCount && chosen < 0; ++track)
            if (!(FTracks[track].State.load() & tsUsed) && FTracks[track].Buffer &&
                SameFormat(FTracks[track].Format, format))
                chosen = track;
    for (int track = FReservedTrackCount; track < FTrackCount && chosen < 0; ++track)
        if (!(FTracks[track].State.load() & tsUsed))
            chosen = track;
    if (chosen < 0) {
        if (raiseWhenFull)
            throw ClassLib::Exception("All tracks are used.");
        return -1;
    }
    StartStream(chosen, std::move(stream), keepPosition, volume, flags);
    FTracks[chosen].CurrentSoundID = 0;
    return chosen;
}

void TDSFramework::PlayListStream(int track, TAudioList* list, int soundID, int volume,
                                  int startFrame, bool fadeIn, bool loop) {
    const TLock lock = Guard();
    if (!ValidTrack(track))
        return;
    TTrackRecord& record = FTracks[track];
    record.CurrentSoundID = soundID;
    StopAndFreeTrack(track);
    if (soundID == 0 || !list)
        return;
    if (TAudioStreamPtr stream = list->FindStream(static_cast<uint32_t>(soundID)))
        StartFromFrame(track, std::move(stream), volume, startFrame, fadeIn, loop);
}

void TDSFramework::PlayStream(int track, TAudioStream* stream, int volume, int startFrame,
                              bool fadeIn, bool loop) {
    const TLock lock = Guard();
    if (!ValidTrack(track))
        return;
    FTracks[track].CurrentSoundID = 0;
    StopAndFreeTrack(track);
    if (stream)
        StartFromFrame(track, TAudioStreamPtr(stream, {false}), volume, startFrame, fadeIn, loop);
}

void TDSFramework::FadeToListStream(int track, TAudioList* list, int soundID, int volume,
                                    int startFrame, bool fadeIn, bool loop) {
    const TLock lock = Guard();
    if (!ValidTrack(track))
        return;
    TTrackRecord& record = FTracks[track];
    if (TrackPlaying(track) && record.CurrentSoundID == soundID)
        return;
    record.Pending = true;
    record.Request = {list, soundID, startFrame, volume, fadeIn, loop};
    record.CurrentSoundID = soundID;
    FadeOutTrack(track);
}

void TDSFramework::SetVolume(int track, int volume) {
    const TLock lock = Guard();
    if (!ValidTrack(track))
        return;
    TTrackRecord& record = FTracks[track];
    const uint32_t state = record.State.load();
    if (!(state & tsUsed))
        return;
    // A fade-out that makes way for a waiting sound must run to its end, or the
    // sound would never start: the new volume is that sound's.
    if (record.Pending && (state & tsFading) && record.FadeTo == FadeOutAttenuation) {
        record.Request.Volume = volume;
        return;
    }
    if (record.Volume == volume)
        return;
    record.State.fetch_and(~tsFading);
    record.Volume = volume;
    SetAttenuation(record, VolumeToAttenuation(volume));
}

void TDSFramework::SetVolumeDeferred(int track, int volume) {
    const TLock lock = Guard();
    if (!ValidTrack(track))
        return;
    if (FTracks[track].Pending)
        FTracks[track].Request.Volume = volume;
    else
        SetVolume(track, volume);
}

void TDSFramework::FadeOutTrack(int track) {
    const TLock lock = Guard();
    if (!ValidTrack(track))
        return;
    TTrackRecord& record = FTracks[track];
    const uint32_t state = record.State.load();
    const bool fadingOut = (state & tsFading) && record.FadeTo == FadeOutAttenuation;
    if ((state & tsUsed) && (state & tsPlaying) && !fadingOut)
        StartFadeOut(record);
}

void TDSFramework::StopTrack(int track) {
    const TLock lock = Guard();
    if (ValidTrack(track))
        StopAndFreeTrack(track);
}

void TDSFramework::StopAll() {
    const TLock lock = Guard();
    for (int track = 0; track < FReservedTrackCount; ++track)
        FTracks[track].Pending = false;
    for (int track = 0; track < FTrackCount; ++track)
        if (FTracks[track].State.load() & tsPlaying)
            FreeTrack(track);
}

bool TDSFramework::IsTrackPlaying(int track) {
    const TLock lock = Guard();
    return TrackPlaying(track);
}

bool TDSFramework::TrackPlaying(int track) const {
    if (!ValidTrack(track))
        return false;
    const uint32_t state = FTracks[track].State.load();
    return (state & tsUsed) && (state & tsPlaying);
}

int TDSFramework::GetTrackPosition(int track) const {
    return ValidTrack(track) ? FTracks[track].Position.load() : 0;
}

// Starting and freeing --------------------------------------------------------

void TDSFramework::FreeTrack(int track) {
    TTrackRecord& record = FTracks[track];
    const uint32_t state = record.State.load();
    if (!(state & tsUsed))
        return;
    if ((state & tsPlaying) && record.Buffer)
        record.Buffer->Stop();
    record.State.store(0);
    record.Stream.reset();
    if (FFlags & dsoReleaseBuffers)
        record.Buffer.reset();
    --FTracksInUse;
}

void TDSFramework::StopAndFreeTrack(int track) {
    FreeTrack(track);
    FTracks[track].Pending = false;
}

void TDSFramework::CreateTrackBuffer(TTrackRecord& record, const TSoundFormat& format) {
    record.Buffer.reset();
    record.Format = format;
    record.BufferSize =
        Audio::MillisecondsToSamples(FBufferLength, format.SampleRate) * format.BlockAlign;
    const WAVEFORMATEX wave = ToWaveFormat(format);
    DSBUFFERDESC description;
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;
    if (FFlags & dsoStickyFocus)
        description.dwFlags |= DSBCAPS_STICKYFOCUS;
    else if (FFlags & dsoGlobalFocus)
        description.dwFlags |= DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = static_cast<uint32_t>(std::max(record.BufferSize, 0));
    description.lpwfxFormat = &wave;
    IDirectSoundBuffer* buffer = nullptr;
    const HRESULT result = FDirectSound->CreateSoundBuffer(&description, &buffer, nullptr);
    if (FAILED(result))
        throw EDirectSoundError("Error creating secondary buffer (%s).", result);
    record.Buffer.reset(buffer);
}

void TDSFramework::StartStream(int track, TAudioStreamPtr stream, bool keepPosition, int volume,
                               uint32_t callerBits) {
    TTrackRecord& record = FTracks[track];
    StopAndFreeTrack(track);
    const TSoundFormat format = StreamFormat(*stream);
    try {
        if ((FFlags & dsoReleaseBuffers) || !record.Buffer || !SameFormat(record.Format, format))
            CreateTrackBuffer(record, format);
        const bool owned = stream.get_deleter().Owns;
        record.Stream = std::move(stream);
        uint32_t bits =
            (callerBits & ~(tsFrameworkBits | tsOwnsStream)) | (owned ? tsOwnsStream : 0);
        record.FillPosition = 0;
        record.EndMarker = emStreaming;
        record.EndBytesLeft = 0;
        record.Volume = volume;
        record.Attenuation = VolumeToAttenuation(volume);
        record.Pending = false;
        if (bits & tsFadeIn) {
            bits |= tsFading;
            record.FadeStart = timeGetTime();
            record.FadeTo = record.Attenuation;
            // A quiet sound starts at its own volume rather than louder.
            record.FadeFrom = std::min(FadeOutAttenuation, record.FadeTo);
            record.Attenuation = record.FadeFrom;
        }
        record.State.store(bits);
        record.Buffer->SetVolume(record.Attenuation);
        if (!keepPosition)
            record.Stream->Seek(0);

        record.Buffer->SetCurrentPosition(0);
        {
            TBufferLock lock(*record.Buffer);
            const HRESULT result = lock.Lock(0, static_cast<uint32_t>(record.BufferSize));
            if (FAILED(result))
                throw EDirectSoundError("Error locking secondary buffer (%s).", result);
            FillRegion(record, static_cast<uint8_t*>(lock.Part1), lock.Bytes1, 0);
            CountPlayedBytes(record, emStreaming, lock.Bytes1);
        }
        record.Position.store(static_cast<int32_t>(record.Stream->Position()));
        if (!owned)
            record.Stream->SaveState(record.SavedState);

        record.Buffer->Play(0, 0, DSBPLAY_LOOPING);
        record.State.fetch_or(tsUsed | tsPlaying);
        ++FTracksInUse;
    } catch (...) {
        // The track stays free: no half-started sound, and a stream it took is deleted.
        record.State.store(0);
        record.Stream.reset();
        if (FFlags & dsoReleaseBuffers)
            record.Buffer.reset();
        throw;
    }
}

void TDSFramework::StartFromFrame(int track, TAudioStreamPtr stream, int volume, int startFrame,
                                  bool fadeIn, bool loop) {
    stream->Seek(static_cast<uint32_t>(startFrame));
    StartStream(track, std::move(stream), true, volume,
                (fadeIn ? tsFadeIn : 0) | (loop ? tsLoop : 0));
}

// Volume and fades -------------------------------------------------------------

void TDSFramework::SetAttenuation(TTrackRecord& record, int32_t attenuation) {
    record.Attenuation = attenuation;
    if (record.Buffer)
        record.Buffer->SetVolume(attenuation);
}

void TDSFramework::StartFadeOut(TTrackRecord& record) {
    record.State.fetch_or(tsFading);
    record.FadeStart = timeGetTime();
    record.FadeFrom = record.Attenuation;
    record.FadeTo = FadeOutAttenuation;
}

} // namespace DSFrame
