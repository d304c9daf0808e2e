#include "platform/SoundOutput.h"

#include <atomic>

namespace Win32 {

namespace {
std::atomic<TSoundOutput*> installedOutput{nullptr};
} // namespace

void SetSoundOutput(TSoundOutput* output) {
    installedOutput.store(output);
}
TSoundOutput* InstalledSoundOutput() {
    return installedOutput.load();
}

TManualSoundOutput::~TManualSoundOutput() {
    Close();
}

HRESULT TManualSoundOutput::Open(TSoundMixer& mixer) {
    if (!FAvailable)
        return DSERR_NODRIVER;
    if (FMixer)
        return DSERR_ALLOCATED;
    FMixer = &mixer;
    return DS_OK;
}

void TManualSoundOutput::Close() {
    FMixer = nullptr;
}

std::vector<int16_t> TManualSoundOutput::Render(uint32_t frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * TSoundMixer::OutputChannels);
    if (FMixer)
        FMixer->Mix(samples.data(), frames);
    return samples;
}

std::vector<int16_t> TManualSoundOutput::RenderMilliseconds(uint32_t milliseconds) {
    const uint64_t thousandths =
        static_cast<uint64_t>(milliseconds) * TSoundMixer::OutputRate + FMillisecondRemainder;
    FMillisecondRemainder = static_cast<uint32_t>(thousandths % 1000);
    return Render(static_cast<uint32_t>(thousandths / 1000));
}

} // namespace Win32
