#include "platform/sound/SoundBuffers.h"

#include <algorithm>

namespace Win32 {

HRESULT CheckPcmFormat(const WAVEFORMATEX* format) {
    if (!format)
        return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& f = *format;
    const bool supported =
        f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
        (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
        f.nSamplesPerSec >= DSBFREQUENCY_LOWEST && f.nSamplesPerSec <= DSBFREQUENCY_HIGHEST;
    if (!supported)
        return DSERR_BADFORMAT;
    const uint32_t blockAlign = f.nChannels * f.wBitsPerSample / 8u;
    if (f.nBlockAlign != blockAlign || f.nAvgBytesPerSec != f.nSamplesPerSec * blockAlign)
        return DSERR_BADFORMAT;
    return DS_OK;
}

// The primary buffer ----------------------------------------------------------

// Writing to the primary buffer needs DSSCL_WRITEPRIMARY, which is not offered.
HRESULT TPrimarySoundBuffer::GetCurrentPosition(uint32_t*, uint32_t*) {
    return DSERR_UNSUPPORTED;
}
HRESULT TPrimarySoundBuffer::SetCurrentPosition(uint32_t) {
    return DSERR_INVALIDCALL;
}
HRESULT TPrimarySoundBuffer::Lock(uint32_t, uint32_t, void**, uint32_t*, void**, uint32_t*,
                                  uint32_t) {
    return DSERR_PRIOLEVELNEEDED;
}
HRESULT TPrimarySoundBuffer::Unlock(void*, uint32_t, void*, uint32_t) {
    return DSERR_PRIOLEVELNEEDED;
}
HRESULT TPrimarySoundBuffer::SetVolume(int32_t) {
    return DSERR_UNSUPPORTED;
}

HRESULT TPrimarySoundBuffer::Play(uint32_t, uint32_t, uint32_t flags) {
    return flags & DSBPLAY_LOOPING ? DS_OK : DSERR_INVALIDPARAM;
}
HRESULT TPrimarySoundBuffer::Stop() {
    return DS_OK;
}

HRESULT TPrimarySoundBuffer::SetFormat(const WAVEFORMATEX* format) {
    if (FDevice->CooperativeLevel.load() < DSSCL_PRIORITY)
        return DSERR_PRIOLEVELNEEDED;
    return CheckPcmFormat(format);
}

// Secondary buffers -----------------------------------------------------------

TSecondarySoundBuffer::TSecondarySoundBuffer(std::shared_ptr<TSoundDevice> device,
                                             const DSBUFFERDESC& description)
    : FDevice(std::move(device)), FFlags(description.dwFlags) {
    const WAVEFORMATEX& format = *description.lpwfxFormat;
    FVoice.Data.assign(description.dwBufferBytes, format.wBitsPerSample == 8 ? 0x80 : 0x00);
    FVoice.SetFormat(format.nSamplesPerSec, format.nChannels, format.wBitsPerSample);
    FLockedCopy.resize(description.dwBufferBytes);
    FDevice->Mixer.Attach(FVoice);
}

TSecondarySoundBuffer::~TSecondarySoundBuffer() {
    FDevice->Mixer.Detach(FVoice);
}

// The mixer still reads the frame after the one it is in, to interpolate.
uint32_t TSecondarySoundBuffer::WriteCursorFrame() const {
    if (!FVoice.Playing)
        return FVoice.Frame;
    return static_cast<uint32_t>((static_cast<uint64_t>(FVoice.Frame) + 2) % FVoice.Frames);
}

HRESULT TSecondarySoundBuffer::GetCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) {
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    if (playCursor)
        *playCursor = FVoice.Frame * FVoice.BlockAlign;
    if (writeCursor)
        *writeCursor = WriteCursorFrame() * FVoice.BlockAlign;
    return DS_OK;
}

HRESULT TSecondarySoundBuffer::SetCurrentPosition(uint32_t newPosition) {
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    if (newPosition >= Size())
        return DSERR_INVALIDPARAM;
    FVoice.Frame = newPosition / FVoice.BlockAlign;
    FVoice.Phase = 0;
    return DS_OK;
}

HRESULT TSecondarySoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1,
                                    void** part2, uint32_t* bytes2, uint32_t flags) {
    if (!part1 || !bytes1)
        return DSERR_INVALIDPARAM;
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    if (FLocked)
        return DSERR_INVALIDCALL;
    if (flags & DSBLOCK_FROMWRITECURSOR)
        offset = WriteCursorFrame() * FVoice.BlockAlign;
    if (flags & DSBLOCK_ENTIREBUFFER)
        bytes = Size();
    if (offset >= Size() || bytes == 0 || bytes > Size())
        return DSERR_INVALIDPARAM;
    const uint32_t first = std::min(bytes, Size() - offset);
    const uint32_t second = bytes - first;
    if (second > 0 && (!part2 || !bytes2))
        return DSERR_INVALIDPARAM;

    const auto data = FVoice.Data.begin();
    std::copy(data + offset, data + offset + first, FLockedCopy.begin() + offset);
    std::copy(data, data + second, FLockedCopy.begin());
    FLocked = true;
    FLockOffset = offset;
    FLockBytes1 = first;
    FLockBytes2 = second;
    *part1 = FLockedCopy.data() + offset;
    *bytes1 = first;
    if (part2)
        *part2 = second > 0 ? FLockedCopy.data() : nullptr;
    if (bytes2)
        *bytes2 = second;
    return DS_OK;
}

HRESULT TSecondarySoundBuffer::Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) {
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    if (!FLocked)
        return DSERR_INVALIDCALL;
    if (part1 != FLockedCopy.data() + FLockOffset || bytes1 > FLockBytes1)
        return DSERR_INVALIDPARAM;
    if (!part2)
        bytes2 = 0;
    else if (FLockBytes2 == 0 || part2 != FLockedCopy.data() || bytes2 > FLockBytes2)
        return DSERR_INVALIDPARAM;

    const auto copy = FLockedCopy.begin();
    std::copy(copy + FLockOffset, copy + FLockOffset + bytes1, FVoice.Data.begin() + FLockOffset);
    std::copy(copy, copy + bytes2, FVoice.Data.begin());
    FLocked = false;
    return DS_OK;
}

HRESULT TSecondarySoundBuffer::Play(uint32_t, uint32_t, uint32_t flags) {
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    FVoice.Playing = true;
    FVoice.Looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT TSecondarySoundBuffer::Stop() {
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    FVoice.Playing = false;
    return DS_OK;
}

HRESULT TSecondarySoundBuffer::SetVolume(int32_t attenuation) {
    if (!(FFlags & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    if (attenuation < DSBVOLUME_MIN || attenuation > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    const float gain = AttenuationToGain(attenuation);
    const std::scoped_lock lock(FDevice->Mixer.Mutex());
    FVoice.Gain = gain;
    return DS_OK;
}

// A secondary buffer keeps the format it was created with.
HRESULT TSecondarySoundBuffer::SetFormat(const WAVEFORMATEX*) {
    return DSERR_INVALIDCALL;
}

} // namespace Win32
