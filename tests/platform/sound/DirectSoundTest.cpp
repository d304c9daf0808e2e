// The DirectSound calls themselves: devices, levels, buffer checks, Lock and Unlock.
#include "SoundFixture.h"

#include <string>

using namespace SoundTesting;

namespace {

struct TEnumerated {
    int Count = 0;
    bool NullGuid = false;
    std::string Description;
};

bool RecordDevice(GUID* guid, const char* description, const char*, void* context) {
    auto& seen = *static_cast<TEnumerated*>(context);
    ++seen.Count;
    seen.NullGuid = guid == nullptr;
    seen.Description = description;
    return true;
}

} // namespace

TEST(DirectSound, EnumeratesTheDefaultOutputAsThePrimaryDevice) {
    TEnumerated seen;
    EXPECT_EQ(DirectSoundEnumerateA(RecordDevice, &seen), DS_OK);
    EXPECT_EQ(seen.Count, 1);
    EXPECT_TRUE(seen.NullGuid);
    EXPECT_EQ(seen.Description, "the default output");
    EXPECT_EQ(DirectSoundEnumerateA(nullptr, nullptr), DSERR_INVALIDPARAM);
}

TEST(DirectSound, CreateOpensOnlyTheDefaultOutputAndReportsAMissingDevice) {
    TManualSoundOutput output;
    const TScopedSoundOutput use(output);
    IDirectSound* sound = nullptr;
    const GUID other{1, 2, 3, {4}};
    int dummy = 0;
    EXPECT_EQ(DirectSoundCreate(&other, &sound, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(DirectSoundCreate(nullptr, &sound, &dummy), DSERR_NOAGGREGATION);
    EXPECT_EQ(DirectSoundCreate(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound, nullptr);
    EXPECT_FALSE(output.IsOpen());

    ASSERT_EQ(DirectSoundCreate(&GUID_NULL, &sound, nullptr), DS_OK);
    EXPECT_TRUE(output.IsOpen());
    IDirectSound* second = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &second, nullptr), DSERR_ALLOCATED);
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(output.IsOpen()) << "the failed second open must not close the first";
    EXPECT_EQ(sound->AddRef(), 2u);
    EXPECT_EQ(sound->Release(), 1u);
    EXPECT_EQ(sound->Release(), 0u);
    EXPECT_FALSE(output.IsOpen());
}

TEST(DirectSound, AMachineWithoutSoundFailsCleanly) {
    TManualSoundOutput missing(false);
    const TScopedSoundOutput use(missing);
    IDirectSound* sound = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
}

TEST_F(SoundFixture, CooperativeLevelDecidesWhetherThePrimaryFormatMayBeSet) {
    DSBUFFERDESC description = BufferDescription(nullptr, 0, DSBCAPS_PRIMARYBUFFER);
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(Sound->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    const TBufferPtr owner(primary);
    const WAVEFORMATEX cd = PcmFormat(44100, 16, 2);
    WAVEFORMATEX odd = cd;
    odd.nBlockAlign = 3;

    ASSERT_EQ(Sound->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&cd), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(Sound->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), DS_OK);
    EXPECT_EQ(primary->SetFormat(&cd), DS_OK);
    EXPECT_EQ(primary->SetFormat(&odd), DSERR_BADFORMAT);
    EXPECT_EQ(primary->SetFormat(nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(Sound->SetCooperativeLevel(nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(Sound->SetCooperativeLevel(nullptr, DSSCL_WRITEPRIMARY), DSERR_UNSUPPORTED);

    EXPECT_EQ(primary->Play(0, 0, 0), DSERR_INVALIDPARAM) << "the primary buffer only loops";
    EXPECT_EQ(primary->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(primary->Stop(), DS_OK);
    void* part = nullptr;
    uint32_t bytes = 0;
    EXPECT_EQ(primary->Lock(0, 4, &part, &bytes, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);

    description.dwBufferBytes = 4;
    IDirectSoundBuffer* wrong = nullptr;
    EXPECT_EQ(Sound->CreateSoundBuffer(&description, &wrong, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(SoundFixture, CreateSoundBufferChecksFormatAndSize) {
    struct TCase {
        const char* What;
        WAVEFORMATEX Format;
        uint32_t Bytes;
        HRESULT Expected;
    };
    auto with = [](WAVEFORMATEX format, auto change) {
        change(format);
        return format;
    };
    const WAVEFORMATEX mono8 = PcmFormat(22050, 8, 1);
    const TCase cases[] = {
        {"lowest rate", PcmFormat(1, 8, 1), 4, DS_OK},
        {"highest rate", PcmFormat(96000, 16, 2), 96000 * 4 / 2, DS_OK},
        {"rate 0", PcmFormat(0, 8, 1), 4, DSERR_BADFORMAT},
        {"rate above 96000", PcmFormat(96001, 8, 1), 4, DSERR_BADFORMAT},
        {"12 bits", PcmFormat(22050, 12, 1), 6, DSERR_BADFORMAT},
        {"3 channels", PcmFormat(22050, 8, 3), 6, DSERR_BADFORMAT},
        {"not PCM", with(mono8, [](auto& f) { f.wFormatTag = 2; }), 4, DSERR_BADFORMAT},
        {"block align", with(mono8, [](auto& f) { f.nBlockAlign = 2; }), 4, DSERR_BADFORMAT},
        {"byte rate", with(mono8, [](auto& f) { f.nAvgBytesPerSec = 1; }), 4, DSERR_BADFORMAT},
        {"below the smallest size", mono8, 3, DSERR_INVALIDPARAM},
        {"above the largest size", mono8, DSBSIZE_MAX + 1, DSERR_INVALIDPARAM},
        {"part of a frame", PcmFormat(22050, 16, 2), 10, DSERR_INVALIDPARAM},
    };
    for (const TCase& c : cases) {
        const DSBUFFERDESC description = BufferDescription(&c.Format, c.Bytes);
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(Sound->CreateSoundBuffer(&description, &buffer, nullptr), c.Expected) << c.What;
        EXPECT_EQ(buffer != nullptr, c.Expected == DS_OK) << c.What;
        const TBufferPtr owner(buffer);
    }

    DSBUFFERDESC unsized = BufferDescription(&mono8, 4);
    unsized.dwSize = 0;
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(Sound->CreateSoundBuffer(&unsized, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(Sound->CreateSoundBuffer(nullptr, &buffer, nullptr), DSERR_INVALIDPARAM);
    const DSBUFFERDESC formatless = BufferDescription(nullptr, 4);
    EXPECT_EQ(Sound->CreateSoundBuffer(&formatless, &buffer, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(SoundFixture, NewBuffersHoldSilenceOfTheirSampleType) {
    EXPECT_EQ(Contents(*CreateBuffer(8000, 8, 1, 4)), std::vector<uint8_t>(4, 0x80));
    EXPECT_EQ(Contents(*CreateBuffer(8000, 16, 1, 4)), std::vector<uint8_t>(4, 0x00));
}

TEST_F(SoundFixture, LockWrapsPastTheEndIntoASecondPartAtTheStart) {
    const TBufferPtr buffer = CreateBuffer(8000, 8, 1, 100);
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0;
    uint32_t bytes2 = 0;
    ASSERT_EQ(buffer->Lock(80, 40, &part1, &bytes1, &part2, &bytes2, 0), DS_OK);
    EXPECT_EQ(bytes1, 20u);
    EXPECT_EQ(bytes2, 20u);
    ASSERT_NE(part2, nullptr);
    std::memset(part1, 1, bytes1);
    std::memset(part2, 2, bytes2);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Output.Render(8000), std::vector<int16_t>(2 * 8000, 0))
        << "nothing reaches the mixer before Unlock";
    ASSERT_EQ(buffer->Stop(), DS_OK);
    ASSERT_EQ(buffer->Unlock(part1, bytes1, part2, bytes2), DS_OK);

    const std::vector<uint8_t> contents = Contents(*buffer);
    EXPECT_EQ(contents[0], 2);
    EXPECT_EQ(contents[19], 2);
    EXPECT_EQ(contents[20], 0x80);
    EXPECT_EQ(contents[79], 0x80);
    EXPECT_EQ(contents[80], 1);
    EXPECT_EQ(contents[99], 1);

    // A lock that fits has no second part.
    ASSERT_EQ(buffer->Lock(10, 90, &part1, &bytes1, &part2, &bytes2, 0), DS_OK);
    EXPECT_EQ(bytes1, 90u);
    EXPECT_EQ(bytes2, 0u);
    EXPECT_EQ(part2, nullptr);
    // Only what Unlock is told was written is kept.
    std::memset(part1, 7, bytes1);
    ASSERT_EQ(buffer->Unlock(part1, 5, nullptr, 0), DS_OK);
    EXPECT_EQ(Contents(*buffer)[14], 7);
    EXPECT_EQ(Contents(*buffer)[15], 2);
}

TEST_F(SoundFixture, LockAndUnlockRefuseWhatDoesNotFit) {
    const TBufferPtr buffer = CreateBuffer(8000, 16, 1, 100);
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0;
    uint32_t bytes2 = 0;
    EXPECT_EQ(buffer->Lock(100, 1, &part1, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &part1, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 0, &part1, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 4, nullptr, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(90, 20, &part1, &bytes1, nullptr, nullptr, 0), DSERR_INVALIDPARAM)
        << "a wrapping lock needs somewhere to return its second part";
    EXPECT_EQ(buffer->Unlock(part1, 0, nullptr, 0), DSERR_INVALIDCALL);

    ASSERT_EQ(buffer->Lock(90, 20, &part1, &bytes1, &part2, &bytes2, 0), DS_OK);
    EXPECT_EQ(buffer->Lock(0, 4, &part1, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDCALL);
    auto* const first = static_cast<uint8_t*>(part1);
    EXPECT_EQ(buffer->Unlock(first + 1, 1, part2, bytes2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, bytes1 + 1, part2, bytes2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, bytes1, first, bytes2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(part1, bytes1, part2, bytes2), DS_OK);

    EXPECT_EQ(buffer->SetFormat(nullptr), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer->SetCurrentPosition(100), DSERR_INVALIDPARAM);
}

TEST_F(SoundFixture, LockFromTheWriteCursorStartsPastTheFramesTheMixerStillReads) {
    const TBufferPtr buffer = CreateBuffer(44100, 16, 2, 400);
    ASSERT_EQ(buffer->SetCurrentPosition(40), DS_OK);
    uint32_t play = 0;
    uint32_t write = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(play, 40u);
    EXPECT_EQ(write, 40u) << "a stopped buffer is written from its play cursor";
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_EQ(write, 48u);

    void* part1 = nullptr;
    uint32_t bytes1 = 0;
    ASSERT_EQ(buffer->Lock(0, 8, &part1, &bytes1, nullptr, nullptr, DSBLOCK_FROMWRITECURSOR),
              DS_OK);
    std::memset(part1, 0x11, bytes1);
    ASSERT_EQ(buffer->Unlock(part1, bytes1, nullptr, 0), DS_OK);
    buffer->Stop();
    const std::vector<uint8_t> contents = Contents(*buffer);
    EXPECT_EQ(contents[47], 0);
    EXPECT_EQ(contents[48], 0x11);
    EXPECT_EQ(contents[55], 0x11);
    EXPECT_EQ(contents[56], 0);
}

TEST_F(SoundFixture, BuffersOutliveTheirDevice) {
    TBufferPtr buffer = CreateBuffer(22050, 8, 1, 100);
    Sound->Release();
    Sound = nullptr;
    EXPECT_FALSE(Output.IsOpen());
    EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Write(*buffer, 0, std::vector<uint8_t>(10, 1));
    EXPECT_EQ(Output.Render(10), std::vector<int16_t>(20, 0)) << "a closed device plays nothing";
    EXPECT_EQ(PlayCursor(*buffer), 0u);
}
