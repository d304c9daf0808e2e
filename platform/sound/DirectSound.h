// Our stand-in for DirectSound: one output device (44,100 Hz, 16-bit stereo) and
// secondary buffers in any PCM format, mixed and resampled by our own mixer and
// played through SDL2 audio, or through a manual device in tests (SoundOutput.h).
//
// There is no dsound.dll: the two entry points are ordinary functions; callers
// that take them from a library take their addresses instead.
#pragma once

#include "platform/Guid.h"
#include "platform/ResultCodes.h"
#include "platform/sound/WaveFormat.h"

#include <cstdint>

namespace Win32 {

// Cooperative levels. Focus is process-wide here, so the level only decides
// whether the primary format may be set; writing the primary buffer is not offered.
constexpr uint32_t DSSCL_NORMAL = 0x1;
constexpr uint32_t DSSCL_PRIORITY = 0x2;
constexpr uint32_t DSSCL_EXCLUSIVE = 0x3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 0x4;

// Buffer capabilities. Focus bits are accepted and have no effect: nothing else
// here takes the device away.
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_STICKYFOCUS = 0x4000;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

// Volume is an attenuation in hundredths of a decibel; the minimum is silence.
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;

constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;
// The sample rates a secondary buffer may have.
constexpr uint32_t DSBFREQUENCY_LOWEST = 1;
constexpr uint32_t DSBFREQUENCY_HIGHEST = 96000;

struct DSBUFFERDESC {
    uint32_t dwSize = 0; // must be sizeof(DSBUFFERDESC)
    uint32_t dwFlags = 0;
    uint32_t dwBufferBytes = 0; // 0 for the primary buffer
    uint32_t dwReserved = 0;
    const WAVEFORMATEX* lpwfxFormat = nullptr; // null for the primary buffer
    GUID guid3DAlgorithm;
};

class IDirectSoundBuffer {
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // Byte offsets in the buffer. The play cursor is the first byte the mixer has
    // not finished with; everything from the write cursor on is not read yet.
    virtual HRESULT GetCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) = 0;
    virtual HRESULT SetCurrentPosition(uint32_t newPosition) = 0;
    // Locks `bytes` from `offset`; a region running past the end wraps into a second
    // part at offset 0. The parts are copies the mixer never reads: what is written
    // there reaches the buffer on Unlock, so the game and the audio thread never
    // touch the same bytes. One lock at a time.
    virtual HRESULT Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1,
                         void** part2, uint32_t* bytes2, uint32_t flags) = 0;
    // Takes the parts Lock returned with the byte counts actually written.
    virtual HRESULT Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) = 0;
    virtual HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetVolume(int32_t attenuation) = 0;
    // Primary buffer only: the device keeps mixing at 44,100 Hz, 16-bit stereo
    // whatever valid format is asked for, as a device does that lacks the format.
    virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;

protected:
    virtual ~IDirectSoundBuffer() = default;
};

class IDirectSound {
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // `window` is kept for the caller's sake; it has no effect here.
    virtual HRESULT SetCooperativeLevel(void* window, uint32_t level) = 0;
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                      void* outer) = 0;

protected:
    virtual ~IDirectSound() = default;
};

// Called once per device; returning false stops the enumeration.
using LPDSENUMCALLBACKA = bool (*)(GUID* guid, const char* description, const char* module,
                                   void* context);

// Enumerates the one device, "the default output", with a null GUID as the primary device.
HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, void* context);
// Opens the default output (a null or zero GUID). DSERR_NODRIVER when no audio
// device can be opened; the game then runs without sound.
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** directSound, void* outer);

using LPDIRECTSOUNDENUMERATEA = decltype(&DirectSoundEnumerateA);
using LPDIRECTSOUNDCREATE = decltype(&DirectSoundCreate);

} // namespace Win32
