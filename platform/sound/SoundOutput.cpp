#include "platform/sound/SoundOutput.h"

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
    const std::scoped_lock lock(FMutex);
    if (FMixer)
        return DSERR_ALLOCATED;
    FMixer = &mixer;
    return DS_OK;
}

void TManualSoundOutput::Close() {
    const std::scoped_lock lock(FMutex);
    FMixer = nullptr;
}

bool TManualSoundOutput::IsOpen() {
    const std::scoped_lock lock(FMutex);
    return FMixer != nullptr;
}

std::vector<int16_t> TManualSoundOutput::Render(uint32_t frames) {
    const std::scoped_lock lock(FMutex);
    return MixFrames(frames);
}

std::vector<int16_t> TManualSoundOutput::RenderMilliseconds(uint32_t milliseconds) {
    const std::scoped_lock lock(FMutex);
    const uint64_t thousandths =
        static_cast<uint64_t>(milliseconds) * TSoundMixer::OutputRate + FMillisecondRemainder;
    FMillisecondRemainder = static_cast<uint32_t>(thousandths % 1000);
    return MixFrames(static_cast<uint32_t>(thousandths / 1000));
}

std::vector<int16_t> TManualSoundOutput::MixFrames(uint32_t frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * TSoundMixer::OutputChannels);
    if (FMixer)
        FMixer->Mix(samples.data(), frames);
    return samples;
}

} // namespace Win32
