// Locks a region of a sound buffer for the framework's fills and unlocks it
// however the filling ends.
#pragma once

#include "platform/sound/DirectSound.h"

namespace DSFrame {

class TBufferLock {
public:
    explicit TBufferLock(Win32::IDirectSoundBuffer& buffer) : FBuffer(buffer) {}
    ~TBufferLock() {
        if (FLocked)
            FBuffer.Unlock(Part1, Bytes1, Part2, Bytes2);
    }
    TBufferLock(const TBufferLock&) = delete;
    TBufferLock& operator=(const TBufferLock&) = delete;

    Win32::HRESULT Lock(uint32_t offset, uint32_t bytes) {
        const Win32::HRESULT result =
            FBuffer.Lock(offset, bytes, &Part1, &Bytes1, &Part2, &Bytes2, 0);
        FLocked = Win32::SUCCEEDED(result);
        return result;
    }

    void* Part1 = nullptr;
    void* Part2 = nullptr;
    uint32_t Bytes1 = 0;
    uint32_t Bytes2 = 0;

private:
    Win32::IDirectSoundBuffer& FBuffer;
    bool FLocked = false;
};

} // namespace DSFrame
