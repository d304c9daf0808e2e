// The sound framework's life: devices, Init and shutdown, the update thread.
#include "engine/sound/DSFramework.h"

#include "engine/core/Base.h"
#include "engine/core/DXErrors.h"
#include "platform/classlib/Exception.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Threads.h"

#include <algorithm>
#include <system_error>

namespace DSFrame {

using Base::EDirectSoundError;
using ClassLib::AnsiString;
using namespace Win32;

namespace {

bool AddDevice(GUID* guid, const char* description, const char* module, void* context) {
    auto& devices = *static_cast<std::vector<TDeviceRecord>*>(context);
    TDeviceRecord& device = devices.emplace_back();
    Base::CopyStringBounded(device.Description, description ? description : "",
                            sizeof device.Description);
    Base::CopyStringBounded(device.Module, module ? module : "", sizeof device.Module);
    device.Primary = guid == nullptr;
    if (guid)
        device.Guid = *guid;
    return true;
}

uint32_t CooperativeLevel(uint32_t flags) {
    if (flags & dsoNormalLevel)
        return DSSCL_NORMAL;
    return flags & dsoExclusiveLevel ? DSSCL_EXCLUSIVE : DSSCL_PRIORITY;
}

void Check(HRESULT result, const char* format) {
    if (FAILED(result))
        throw EDirectSoundError(format, result);
}

} // namespace

TDSFramework::TDSFramework(HWND window) : FWindow(window) {
    FDirectSoundCreate = &DirectSoundCreate;
    FDirectSoundEnumerate = &DirectSoundEnumerateA;
    FDirectSoundEnumerate(&AddDevice, &FDevices);
    if (FDevices.empty())
        throw EDirectSoundError(AnsiString("No sound devices were found during enumeration."));
    const auto primary = std::find_if(FDevices.begin(), FDevices.end(),
                                      [](const TDeviceRecord& device) { return device.Primary; });
    if (primary == FDevices.end())
        throw EDirectSoundError(AnsiString("Primary device not found."));
    FDefaultDevice = static_cast<int>(primary - FDevices.begin());
}

TDSFramework::~TDSFramework() {
    StopAll();
    ShutDown();
}

void TDSFramework::Init(int device, uint32_t flags, int trackCount, int reservedTrackCount,
                        int bufferMilliseconds, int rate, int bits, int channels) {
    ShutDown();
    FFlags = flags;
    FBufferLength = std::max(bufferMilliseconds, MinBufferMilliseconds);
    FDeviceInUse = device >= 0 && device < DeviceCount() ? device : FDefaultDevice;
    FOutputFormat = {rate, bits, channels, channels * bits / 8};

    const TDeviceRecord& chosen = FDevices[FDeviceInUse];
    IDirectSound* sound = nullptr;
    Check(FDirectSoundCreate(chosen.Primary ? nullptr : &chosen.Guid, &sound, nullptr),
          "Error creating DirectSound (%s).");
    FDirectSound.reset(sound);
    Check(FDirectSound->SetCooperativeLevel(FWindow, CooperativeLevel(flags)),
          "SetCooperativeLevel for DirectSound failed (%s).");

    DSBUFFERDESC description;
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    Check(FDirectSound->CreateSoundBuffer(&description, &primary, nullptr),
          "Error creating primary buffer (%s).");
    FPrimaryBuffer.reset(primary);
    if (!(flags & dsoNormalLevel)) {
        const WAVEFORMATEX format = ToWaveFormat(FOutputFormat);
        Check(FPrimaryBuffer->SetFormat(&format), "Error setting format of primary buffer (%s).");
    }
    if (flags & dsoPlayPrimary)
        Check(FPrimaryBuffer->Play(0, 0, DSBPLAY_LOOPING),
              "Error setting primary buffer to continuous play mode (%s).");

    FTrackCount = std::max(trackCount, 0);
    FReservedTrackCount = std::clamp(reservedTrackCount, 0, FTrackCount);
    FTracks = std::make_unique<TTrackRecord[]>(static_cast<size_t>(FTrackCount));
    FTracksInUse = 0;

    if (flags & dsoUpdateThread) {
        FTerminate.store(false);
        try {
            FThread = std::thread(&TDSFramework::RunUpdateThread, this);
        } catch (const std::system_error&) {
            throw ClassLib::Exception("Error creating update thread.");
        }
    }
    FInitialized = true;
}

void TDSFramework::ShutDown() {
    if (FThread.joinable()) {
        FTerminate.store(true);
        FThread.join();
    }
    for (int track = 0; track < FTrackCount; ++track) {
        FreeTrack(track);
        FTracks[track].Buffer.reset();
    }
    FTracks.reset();
    FTrackCount = 0;
    FReservedTrackCount = 0;
    FTracksInUse = 0;
    FPrimaryBuffer.reset();
    FDirectSound.reset();
    FFlags = 0;
    FInitialized = false;
}

void TDSFramework::RunUpdateThread() {
    SetCurrentThreadPriority(THREAD_PRIORITY_NORMAL);
    const uint32_t period = static_cast<uint32_t>(FBufferLength / 10);
    while (!FTerminate.load()) {
        Win32::Sleep(period);
        if (FTerminate.load())
            break;
        try {
            UpdateTracks();
        } catch (...) {
            // A pass that fails is tried again; the thread must outlive it.
        }
    }
}

TDSFramework::TLock TDSFramework::Guard() {
    if (FFlags & dsoUpdateThread)
        return TLock(FLock);
    return TLock(FLock, std::defer_lock);
}

const TTrackRecord& TDSFramework::Track(int index) const {
    if (!ValidTrack(index))
        throw ClassLib::EListError(ClassLib::Format("List index out of bounds (%d)", index));
    return FTracks[index];
}

} // namespace DSFrame
