// The engine's only way to make sound: one DirectSound device with a fixed number
// of tracks, each a looping secondary buffer fed from an audio stream and refilled
// every tenth of a buffer length. Tracks below the reserved count are addressed by
// number (the game's music and speech); Play hands the others out to effects.
#pragma once

#include "engine/sound/AudioList.h"
#include "engine/sound/AudioStream.h"
#include "platform/WinTypes.h"
#include "platform/classlib/Library.h"
#include "platform/sound/DirectSound.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace DSFrame {

using Audio::TAudioList;
using Audio::TAudioStream;
using Audio::TAudioStreamPtr;

// Options of Init.
constexpr uint32_t dsoReleaseBuffers = 0x02; // a freed track lets its buffer go; none are reused
constexpr uint32_t dsoUpdateThread = 0x04;   // refill on a thread; public calls take the lock
constexpr uint32_t dsoPlayPrimary = 0x08;    // keep the primary buffer playing
constexpr uint32_t dsoNormalLevel = 0x10;    // DSSCL_NORMAL and the primary format left alone
constexpr uint32_t dsoExclusiveLevel = 0x20; // DSSCL_EXCLUSIVE; with neither, DSSCL_PRIORITY
constexpr uint32_t dsoGlobalFocus = 0x40;
constexpr uint32_t dsoStickyFocus = 0x80; // wins over dsoGlobalFocus

// Track state. The three low bits are the framework's; callers pass the others.
constexpr uint32_t tsUsed = 0x01;
constexpr uint32_t tsPlaying = 0x02;
constexpr uint32_t tsFading = 0x04;
constexpr uint32_t tsLoop = 0x10;       // rewind the stream at its end
constexpr uint32_t tsOwnsStream = 0x40; // the track deletes the stream when freed
constexpr uint32_t tsFadeIn = 0x80;
constexpr uint32_t tsFrameworkBits = tsUsed | tsPlaying | tsFading;

constexpr int32_t MinBufferMilliseconds = 50;
constexpr uint32_t FadeMilliseconds = 1500;
// Where fade-ins start and fade-outs end, in hundredths of a decibel.
constexpr int32_t FadeOutAttenuation = -3000;

struct TSoundFormat {
    int32_t SampleRate = 0;
    int32_t BitsPerSample = 0;
    int32_t Channels = 0;
    int32_t BlockAlign = 0; // channels x bits / 8
};
// Rate, bits and channels equal: a buffer of one format can play the other.
bool SameFormat(const TSoundFormat& a, const TSoundFormat& b);
TSoundFormat StreamFormat(const TAudioStream& stream);
Win32::WAVEFORMATEX ToWaveFormat(const TSoundFormat& format);

// A volume of 0..100 (clamped) as an attenuation: 100 is 0, 50 is -1000, 0 is -4000.
int32_t VolumeToAttenuation(int volume);

struct TDeviceRecord {
    char Description[80] = {};
    char Module[80] = {};
    bool Primary = false; // enumerated without a GUID
    Win32::GUID Guid;
};

// A sound a reserved track starts once what it plays has faded out.
struct TTrackRequest {
    TAudioList* List = nullptr;
    int32_t SoundID = 0;
    int32_t StartFrame = 0;
    int32_t Volume = 0;
    bool FadeIn = false;
    bool Loop = false;
};

struct TReleaseInterface {
    template <class T>
    void operator()(T* object) const {
        object->Release();
    }
};
template <class T>
using TInterfacePtr = std::unique_ptr<T, TReleaseInterface>;

// End marker values besides a byte offset in the buffer.
constexpr int32_t emStreaming = -1; // the stream still delivers data
constexpr int32_t emPlayed = -2;    // the play cursor has passed the end of the data

struct TTrackRecord {
    // Deleted with the track only when owned (tsOwnsStream mirrors the deleter).
    TAudioStreamPtr Stream;
    // State and position are read without the lock (TrackPlaying, GetTrackPosition).
    std::atomic<uint32_t> State{0};
    int32_t BufferSize = 0; // bytes
    TSoundFormat Format;    // of the buffer
    TInterfacePtr<Win32::IDirectSoundBuffer> Buffer;
    std::atomic<int32_t> Position{0}; // stream frame after the last refill
    // The place of a stream the track shares but does not own, between fills.
    Audio::TAudioStreamState SavedState;
    int32_t FillPosition = 0; // byte offset up to which the buffer is written
    int32_t EndMarker = emStreaming;
    // Bytes of the stream's data still ahead of the play cursor once the end is marked.
    int32_t EndBytesLeft = 0;
    int32_t Attenuation = 0; // now set on the buffer, -4000..0
    int32_t Volume = 0;      // the caller's 0..100
    uint32_t FadeStart = 0;  // timeGetTime
    int32_t FadeFrom = 0;
    int32_t FadeTo = 0;
    bool Pending = false;
    TTrackRequest Request;
    int32_t CurrentSoundID = 0; // 0 after a caller's own stream was started
};

class TDSFramework {
public:
    // Finds the devices. None: EDirectSoundError "No sound devices were found
    // during enumeration."; none primary: "Primary device not found.".
    explicit TDSFramework(Win32::HWND window);
    ~TDSFramework();
    TDSFramework(const TDSFramework&) = delete;
    TDSFramework& operator=(const TDSFramework&) = delete;

    // Shuts down what a previous Init set up, then opens the device (-1 or an
    // unknown index: the primary one) and sets up the tracks and, with
    // dsoUpdateThread, the update thread. Failures raise EDirectSoundError.
    void Init(int device, uint32_t flags, int trackCount, int reservedTrackCount,
              int bufferMilliseconds, int rate, int bits, int channels);

    // Starts the stream on the lowest free unreserved track, preferring one whose
    // buffer has the stream's format, and returns it; -1 when all are busy (or
    // "All tracks are used." with raiseWhenFull). flags: tsLoop, tsFadeIn; the
    // track owns the stream when its deleter does.
    int Play(TAudioStreamPtr stream, uint32_t flags, int volume, bool keepPosition,
             bool raiseWhenFull);
    // Stops the track and starts the list's sound from startFrame (nothing for ID 0
    // or an unknown ID).
    void PlayListStream(int track, TAudioList* list, int soundID, int volume, int startFrame,
                        bool fadeIn, bool loop);
    // The same for the caller's stream, which stays the caller's.
    void PlayStream(int track, TAudioStream* stream, int volume, int startFrame, bool fadeIn,
                    bool loop);
    // Fades out what the track plays and starts the sound once it is silent; the
    // sound already playing is left alone.
    void FadeToListStream(int track, TAudioList* list, int soundID, int volume, int startFrame,
                          bool fadeIn, bool loop);
    void SetVolume(int track, int volume);
    // While a sound waits for the track, sets the volume it will start with.
    void SetVolumeDeferred(int track, int volume);
    void FadeOutTrack(int track);
    void FadeOut(int track) { FadeOutTrack(track); }
    // Stops and frees the track at once; a waiting sound is dropped.
    void StopTrack(int track);
    void StopAll();
    bool IsTrackPlaying(int track);
    bool IsPlaying(int track) { return IsTrackPlaying(track); }
    // Used and playing; reads without the lock.
    bool TrackPlaying(int track) const;
    // The stream's frame after the last refill; reads without the lock.
    int GetTrackPosition(int track) const;

    // One pass of the update thread: fades, refills what the play cursors have
    // freed, frees tracks whose sound has ended and starts waiting sounds. Without
    // dsoUpdateThread the owner calls it, every BufferLength() / 10 ms.
    void UpdateTracks();

    bool Initialized() const { return FInitialized; }
    uint32_t Flags() const { return FFlags; }
    int DeviceCount() const { return static_cast<int>(FDevices.size()); }
    const TDeviceRecord& Device(int index) const { return FDevices.at(index); }
    int DefaultDevice() const { return FDefaultDevice; }
    int DeviceInUse() const { return FDeviceInUse; }
    const TSoundFormat& OutputFormat() const { return FOutputFormat; }
    int BufferLength() const { return FBufferLength; }
    int TrackCount() const { return FTrackCount; }
    int ReservedTrackCount() const { return FReservedTrackCount; }
    int TracksInUse() const { return FTracksInUse; }
    // For inspection by the thread that drives the framework.
    const TTrackRecord& Track(int index) const;

private:
    using TLock = std::unique_lock<std::recursive_mutex>;
    TLock Guard();
    bool ValidTrack(int track) const { return track >= 0 && track < FTrackCount; }
    void ShutDown();
    void RunUpdateThread();

    void FreeTrack(int track);
    void StopAndFreeTrack(int track); // and drop its waiting sound
    void StartStream(int track, TAudioStreamPtr stream, bool keepPosition, int volume,
                     uint32_t callerBits);
    void StartFromFrame(int track, TAudioStreamPtr stream, int volume, int startFrame, bool fadeIn,
                        bool loop);
    void CreateTrackBuffer(TTrackRecord& record, const TSoundFormat& format);
    void FillRegion(TTrackRecord& record, uint8_t* destination, uint32_t bytes, uint32_t offset);
    void FillLooping(TTrackRecord& record, uint8_t* destination, uint32_t bytes, uint32_t offset);
    static void MarkEnd(TTrackRecord& record, uint32_t offset);
    static void CountPlayedBytes(TTrackRecord& record, int32_t markerBefore, uint32_t written);
    void SetAttenuation(TTrackRecord& record, int32_t attenuation);
    void StartFadeOut(TTrackRecord& record);
    // True when the fade was a fade-out that has ended the track.
    bool FadeTrack(int track, uint32_t now);
    void EndFadedOutTrack(int track);
    void RefillTrack(TTrackRecord& record);
    void StartWaitingSounds();

    bool FInitialized = false;
    Win32::HWND FWindow = nullptr;
    std::vector<TDeviceRecord> FDevices;
    int FDefaultDevice = 0;
    // Our DirectSound is part of the program: the entry points are its own
    // functions and no library is loaded, so the handle stays null.
    [[maybe_unused]] Win32::HMODULE FLibrary = nullptr;
    Win32::LPDIRECTSOUNDCREATE FDirectSoundCreate = nullptr;
    Win32::LPDIRECTSOUNDENUMERATEA FDirectSoundEnumerate = nullptr;
    TInterfacePtr<Win32::IDirectSound> FDirectSound;
    TInterfacePtr<Win32::IDirectSoundBuffer> FPrimaryBuffer;
    uint32_t FFlags = 0;
    int FDeviceInUse = 0;
    TSoundFormat FOutputFormat;
    int FBufferLength = 0;
    int FTrackCount = 0;
    int FReservedTrackCount = 0;
    int FTracksInUse = 0;
    std::unique_ptr<TTrackRecord[]> FTracks;
    std::recursive_mutex FLock;
    std::thread FThread;
    std::atomic<bool> FTerminate{false};
};

} // namespace DSFrame
