// The sound framework's update pass: fades, refilling what the play cursors have
// freed, finding the end of each sound, and starting the sounds that wait.
#include "engine/sound/DSFramework.h"

#include "engine/sound/DSBufferLock.h"
#include "platform/win32/Clock.h"

#include <algorithm>
#include <cstring>

namespace DSFrame {

using namespace Win32;

namespace {

uint8_t SilenceByte(const TSoundFormat& format) {
    return format.BitsPerSample == 8 ? 0x80 : 0x00;
}

// Bytes of the stream from its position to its end, in 64 bits: a long stream
// of wide frames does not fit 32.
uint64_t BytesLeft(const TAudioStream& stream, uint32_t frameBytes) {
    if (stream.Position() >= stream.Length())
        return 0;
    return uint64_t(stream.Length() - stream.Position()) * frameBytes;
}

} // namespace

// Filling ----------------------------------------------------------------------

void TDSFramework::MarkEnd(TTrackRecord& record, uint32_t offset) {
    if (record.EndMarker == emStreaming)
        record.EndMarker = static_cast<int32_t>(offset);
}

void TDSFramework::FillRegion(TTrackRecord& record, uint8_t* destination, uint32_t bytes,
                              uint32_t offset) {
    if (bytes == 0)
        return;
    if (record.State.load() & tsLoop) {
        FillLooping(record, destination, bytes, offset);
        return;
    }
    TAudioStream& stream = *record.Stream;
    const uint32_t frameBytes = static_cast<uint32_t>(record.Format.BlockAlign);
    uint32_t delivered = 0;
    if (const uint64_t left = BytesLeft(stream, frameBytes); left > 0) {
        const auto frames = static_cast<uint32_t>(std::min<uint64_t>(bytes, left) / frameBytes);
        delivered = std::min(stream.Read(destination, frames), frames) * frameBytes;
    }
    if (delivered < bytes) {
        std::memset(destination + delivered, SilenceByte(record.Format), bytes - delivered);
        MarkEnd(record, offset + delivered);
    }
}

void TDSFramework::FillLooping(TTrackRecord& record, uint8_t* destination, uint32_t bytes,
                               uint32_t offset) {
    TAudioStream& stream = *record.Stream;
    const uint32_t frameBytes = static_cast<uint32_t>(record.Format.BlockAlign);
    uint32_t filled = 0;
    while (filled < bytes) {
        if (stream.Position() >= stream.Length())
            stream.Seek(0);
        const uint32_t from = stream.Position();
        const auto wanted = static_cast<uint32_t>(
            std::min<uint64_t>(BytesLeft(stream, frameBytes), bytes - filled) / frameBytes);
        const uint32_t got = std::min(stream.Read(destination + filled, wanted), wanted);
        filled += got * frameBytes;
        if (got == 0 && from == 0) {
            // Nothing to repeat: looping it would never fill the region.
            std::memset(destination + filled, SilenceByte(record.Format), bytes - filled);
            MarkEnd(record, offset + filled);
            return;
        }
        if (got < wanted)
            stream.Seek(0);
    }
}

// Once the data has ended, counts down the bytes of it still ahead of the play
// cursor, so that the end is found wherever in the buffer it lies.
void TDSFramework::CountPlayedBytes(TTrackRecord& record, int32_t markerBefore, uint32_t written) {
    if (record.EndMarker < 0)
        return;
    if (markerBefore == emStreaming) {
        // The play cursor stands at the new fill position: what lies from there
        // up to the marker is still to be heard.
        const int32_t size = record.BufferSize;
        record.EndBytesLeft = ((record.EndMarker - record.FillPosition) % size + size) % size;
    } else {
        record.EndBytesLeft -= static_cast<int32_t>(written);
    }
    if (record.EndBytesLeft <= 0)
        record.EndMarker = emPlayed;
}

bool TDSFramework::FadeTrack(int track, uint32_t now) {
    TTrackRecord& record = FTracks[track];
    const bool fadingOut = record.FadeTo == FadeOutAttenuation;
    if (fadingOut && record.Attenuation <= FadeOutAttenuation) {
        record.State.fetch_and(~tsFading);
        EndFadedOutTrack(track);
        return true;
    }
    const uint32_t elapsed = now - record.FadeStart;
    const int64_t from = record.FadeFrom;
    const int64_t to = record.FadeTo;
    const int64_t level = from + (to - from) * int64_t(elapsed) / int64_t(FadeMilliseconds);
    SetAttenuation(record,
                   static_cast<int32_t>(std::clamp(level, std::min(from, to), std::max(from, to))));
    if (elapsed < FadeMilliseconds)
        return false;
    record.State.fetch_and(~tsFading);
    if (!fadingOut)
        return false;
    EndFadedOutTrack(track);
    return true;
}

// A reserved track keeps its sound and waiting request; the others are freed.
void TDSFramework::EndFadedOutTrack(int track) {
    TTrackRecord& record = FTracks[track];
    if (track < FReservedTrackCount) {
        record.Buffer->Stop();
        record.State.fetch_and(~tsPlaying);
    } else {
        StopAndFreeTrack(track);
    }
}

// The update pass --------------------------------------------------------------

void TDSFramework::RefillTrack(TTrackRecord& record) {
    uint32_t cursor = 0;
    if (FAILED(record.Buffer->GetCurrentPosition(&cursor, nullptr)))
        return;
    const int32_t size = record.BufferSize;
    const auto playCursor = static_cast<int32_t>(cursor);
    if (playCursor == record.FillPosition)
        return;
    int32_t freed = playCursor - record.FillPosition;
    if (freed < 0)
        freed += size;
    const bool owned = record.State.load() & tsOwnsStream;
    if (!owned)
        record.Stream->RestoreState(record.SavedState);
    {
        TBufferLock lock(*record.Buffer);
        if (SUCCEEDED(lock.Lock(static_cast<uint32_t>(record.FillPosition),
                                static_cast<uint32_t>(freed)))) {
            const int32_t markerBefore = record.EndMarker;
            FillRegion(record, static_cast<uint8_t*>(lock.Part1), lock.Bytes1,
                       static_cast<uint32_t>(record.FillPosition));
            if (lock.Part2)
                FillRegion(record, static_cast<uint8_t*>(lock.Part2), lock.Bytes2, 0);
            record.FillPosition = (record.FillPosition + freed) % size;
            CountPlayedBytes(record, markerBefore, static_cast<uint32_t>(freed));
        }
    }
    record.Position.store(static_cast<int32_t>(record.Stream->Position()));
    if (!owned)
        record.Stream->SaveState(record.SavedState);
}

void TDSFramework::UpdateTracks() {
    const TLock lock = Guard();
    for (int track = 0; track < FTrackCount; ++track) {
        TTrackRecord& record = FTracks[track];
        const uint32_t state = record.State.load();
        if (!(state & tsUsed) || !(state & tsPlaying))
            continue;
        const uint32_t now = timeGetTime();
        if ((state & tsFading) && FadeTrack(track, now))
            continue;
        bool failed = false;
        try {
            RefillTrack(record);
        } catch (...) {
            failed = true;
        }
        if (failed || record.EndMarker == emPlayed)
            FreeTrack(track);
    }
    StartWaitingSounds();
}

void TDSFramework::StartWaitingSounds() {
    for (int track = 0; track < FReservedTrackCount; ++track) {
        TTrackRecord& record = FTracks[track];
        if (!record.Pending || (record.State.load() & tsPlaying))
            continue;
        const TTrackRequest request = record.Request;
        record.Pending = false;
        try {
            PlayListStream(track, request.List, request.SoundID, request.Volume, request.StartFrame,
                           request.FadeIn, request.Loop);
        } catch (...) {
            // A sound that cannot start is dropped; the others play on.
        }
    }
}

} // namespace DSFrame
