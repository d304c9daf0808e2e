// The buffers our DirectSound device hands out. Internal to the platform layer:
// callers see them as IDirectSoundBuffer.
#pragma once

#include "platform/RefCounted.h"
#include "platform/sound/DirectSound.h"
#include "platform/sound/SoundMixer.h"

#include <atomic>
#include <memory>
#include <vector>

namespace Win32 {

// What a device and its buffers share; buffers keep it alive after the device is released.
struct TSoundDevice {
    TSoundMixer Mixer;
    std::atomic<uint32_t> CooperativeLevel{0};
};

// DS_OK for PCM, 1 or 2 channels, 8 or 16 bits, 1 to 96,000 Hz with consistent
// block align and byte rate; DSERR_BADFORMAT otherwise, DSERR_INVALIDPARAM for null.
HRESULT CheckPcmFormat(const WAVEFORMATEX* format);

// The device's output. It sets the device format at a priority level or above;
// the device mixes whether or not it is playing.
class TPrimarySoundBuffer final : public TRefCounted<IDirectSoundBuffer> {
public:
    explicit TPrimarySoundBuffer(std::shared_ptr<TSoundDevice> device)
        : FDevice(std::move(device)) {}

    HRESULT GetCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override;
    HRESULT SetCurrentPosition(uint32_t newPosition) override;
    HRESULT Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                 uint32_t* bytes2, uint32_t flags) override;
    HRESULT Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) override;
    HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    HRESULT Stop() override;
    HRESULT SetVolume(int32_t attenuation) override;
    HRESULT SetFormat(const WAVEFORMATEX* format) override;

private:
    std::shared_ptr<TSoundDevice> FDevice;
};

// A sound buffer the mixer plays. Every access to its sound and state takes the
// mixer's mutex, so the game thread and the audio thread may use it together.
class TSecondarySoundBuffer final : public TRefCounted<IDirectSoundBuffer> {
public:
    // The description must have passed the device's checks.
    TSecondarySoundBuffer(std::shared_ptr<TSoundDevice> device, const DSBUFFERDESC& description);
    ~TSecondarySoundBuffer() override;

    HRESULT GetCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override;
    HRESULT SetCurrentPosition(uint32_t newPosition) override;
    HRESULT Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                 uint32_t* bytes2, uint32_t flags) override;
    HRESULT Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) override;
    HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    HRESULT Stop() override;
    HRESULT SetVolume(int32_t attenuation) override;
    HRESULT SetFormat(const WAVEFORMATEX* format) override;

private:
    uint32_t Size() const { return static_cast<uint32_t>(FVoice.Data.size()); }
    uint32_t WriteCursorFrame() const;

    std::shared_ptr<TSoundDevice> FDevice;
    const uint32_t FFlags;
    TMixerVoice FVoice;
    // The locked parts, at the same offsets as in the buffer.
    std::vector<uint8_t> FLockedCopy;
    bool FLocked = false;
    uint32_t FLockOffset = 0;
    uint32_t FLockBytes1 = 0;
    uint32_t FLockBytes2 = 0;
};

} // namespace Win32
