#include "platform/sound/DirectSound.h"

#include "platform/sound/SdlSoundOutput.h"
#include "platform/sound/SoundBuffers.h"
#include "platform/sound/SoundOutput.h"

#include <memory>
#include <new>

namespace Win32 {

namespace {

class TDirectSound final : public TRefCounted<IDirectSound> {
public:
    TDirectSound(std::unique_ptr<TSoundOutput> ownOutput, TSoundOutput& output)
        : FDevice(std::make_shared<TSoundDevice>()), FOwnOutput(std::move(ownOutput)),
          FOutput(output) {}
    ~TDirectSound() override {
        if (FOpen)
            FOutput.Close();
    }

    HRESULT Open() {
        const HRESULT result = FOutput.Open(FDevice->Mixer);
        FOpen = SUCCEEDED(result);
        return result;
    }

    HRESULT SetCooperativeLevel(void*, uint32_t level) override {
        if (level == DSSCL_WRITEPRIMARY)
            return DSERR_UNSUPPORTED;
        if (level < DSSCL_NORMAL || level > DSSCL_EXCLUSIVE)
            return DSERR_INVALIDPARAM;
        FDevice->CooperativeLevel.store(level);
        return DS_OK;
    }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                              void* outer) override {
        if (!buffer)
            return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer)
            return DSERR_NOAGGREGATION;
        if (!description || description->dwSize != sizeof(DSBUFFERDESC))
            return DSERR_INVALIDPARAM;
        const DSBUFFERDESC& d = *description;
        if (d.dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (d.dwBufferBytes != 0 || d.lpwfxFormat)
                return DSERR_INVALIDPARAM;
            *buffer = std::make_unique<TPrimarySoundBuffer>(FDevice).release();
            return DS_OK;
        }
        if (const HRESULT format = CheckPcmFormat(d.lpwfxFormat); FAILED(format))
            return format;
        if (d.dwBufferBytes < DSBSIZE_MIN || d.dwBufferBytes > DSBSIZE_MAX ||
            d.dwBufferBytes % d.lpwfxFormat->nBlockAlign != 0)
            return DSERR_INVALIDPARAM;
        try {
            *buffer = std::make_unique<TSecondarySoundBuffer>(FDevice, d).release();
        } catch (const std::bad_alloc&) {
            return DSERR_OUTOFMEMORY;
        }
        return DS_OK;
    }

private:
    std::shared_ptr<TSoundDevice> FDevice;
    std::unique_ptr<TSoundOutput> FOwnOutput;
    TSoundOutput& FOutput;
    bool FOpen = false;
};

} // namespace

HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, void* context) {
    if (!callback)
        return DSERR_INVALIDPARAM;
    callback(nullptr, "the default output", "", context);
    return DS_OK;
}

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** directSound, void* outer) {
    if (!directSound)
        return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (outer)
        return DSERR_NOAGGREGATION;
    if (device && *device != GUID_NULL)
        return DSERR_NODRIVER;
    std::unique_ptr<TSoundOutput> ownOutput;
    TSoundOutput* output = InstalledSoundOutput();
    if (!output) {
        ownOutput = std::make_unique<TSdlSoundOutput>();
        output = ownOutput.get();
    }
    auto created = std::make_unique<TDirectSound>(std::move(ownOutput), *output);
    if (const HRESULT result = created->Open(); FAILED(result))
        return result;
    *directSound = created.release();
    return DS_OK;
}

} // namespace Win32
