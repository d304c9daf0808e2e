#include "tools/AudioWriters.h"

#include "tools/DirectoryLayout.h"

#include "engine/sound/AXStream.h"
#include "engine/sound/AudioList.h"
#include "engine/sound/WAVStream.h"
#include "platform/classlib/Exception.h"

#include <lame.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace Tools {

namespace {

// Lets a sound writer, which owns and deletes its stream, write into a memory
// stream that outlives it.
class TForwardingStream : public ClassLib::TStream {
public:
    explicit TForwardingStream(ClassLib::TStream& target) : FTarget(target) {}
    int32_t Read(void* buffer, int32_t count) override { return FTarget.Read(buffer, count); }
    int32_t Write(const void* buffer, int32_t count) override {
        return FTarget.Write(buffer, count);
    }
    int64_t Seek(int64_t offset, ClassLib::TSeekOrigin origin) override {
        return FTarget.Seek(offset, origin);
    }
    void SetSize(int64_t size) override { FTarget.SetSize(size); }
    int64_t GetSize() override { return FTarget.GetSize(); }

private:
    ClassLib::TStream& FTarget;
};

TBytes Encode(Audio::TAudioStream& writer, const void* samples, uint32_t frames,
              const Audio::TAudioFormat& format, uint32_t mode) {
    ClassLib::TMemoryStream memory;
    writer.Open(std::make_unique<TForwardingStream>(memory), Audio::omWrite | mode, format);
    writer.Write(samples, frames);
    writer.Close();
    return memory.Bytes();
}

struct TLameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

[[noreturn]] void RaiseEncoderError(const char* what) {
    throw ClassLib::Exception(ClassLib::Format("MP3 encoder failed (%s).", what));
}

} // namespace

TBytes EncodeWAV(const void* samples, uint32_t frames, const Audio::TAudioFormat& format) {
    Audio::TWAVStream writer;
    return Encode(writer, samples, frames, format, 0);
}

TBytes EncodeAX(const void* samples, uint32_t frames, const Audio::TAudioFormat& format,
                uint32_t mode) {
    Audio::TAXStream writer;
    return Encode(writer, samples, frames, format, mode);
}

TBytes EncodeMP3(const int16_t* samples, uint32_t frames, const TMP3Options& options) {
    const std::unique_ptr<lame_global_flags, TLameDeleter> lame(lame_init());
    if (!lame)
        RaiseEncoderError("init");
    lame_global_flags* gf = lame.get();
    const int channels = options.Channels == 1 ? 1 : 2;
    lame_set_in_samplerate(gf, static_cast<int>(options.SampleRate));
    lame_set_out_samplerate(gf, static_cast<int>(options.SampleRate));
    lame_set_num_channels(gf, channels);
    lame_set_mode(gf, channels == 1 ? MONO : JOINT_STEREO);
    if (options.VariableBitRate) {
        lame_set_VBR(gf, vbr_default);
        lame_set_VBR_quality(gf, static_cast<float>(options.Quality));
    } else {
        lame_set_VBR(gf, vbr_off);
        lame_set_brate(gf, options.BitRate);
    }
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    if (!options.Title.empty()) {
        id3tag_init(gf);
        id3tag_add_v2(gf);
        id3tag_v2_only(gf);
        id3tag_set_title(gf, options.Title.c_str());
    }
    if (lame_init_params(gf) < 0)
        RaiseEncoderError("parameters");

    TBytes out;
    if (!options.Title.empty()) {
        const size_t tagSize = lame_get_id3v2_tag(gf, nullptr, 0);
        out.resize(tagSize);
        if (tagSize > 0 && lame_get_id3v2_tag(gf, out.data(), tagSize) != tagSize)
            RaiseEncoderError("ID3 tag");
    }
    const size_t headerFrameAt = out.size();

    constexpr uint32_t chunkFrames = 4096;
    std::vector<uint8_t> buffer(chunkFrames * 5 / 4 + 7200);
    auto append = [&](int produced) {
        if (produced < 0)
            RaiseEncoderError("encoding");
        out.insert(out.end(), buffer.begin(), buffer.begin() + produced);
    };
    for (uint32_t done = 0; done < frames;) {
        const uint32_t n = std::min(chunkFrames, frames - done);
        const int16_t* chunk = samples + size_t(done) * channels;
        if (channels == 1)
            append(lame_encode_buffer(gf, chunk, chunk, static_cast<int>(n), buffer.data(),
                                      static_cast<int>(buffer.size())));
        else
            append(lame_encode_buffer_interleaved(gf, const_cast<int16_t*>(chunk),
                                                  static_cast<int>(n), buffer.data(),
                                                  static_cast<int>(buffer.size())));
        done += n;
    }
    append(lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size())));

    // The header frame written first is a placeholder until the whole length is known.
    const size_t headerSize = lame_get_lametag_frame(gf, buffer.data(), buffer.size());
    if (headerSize > 0 && headerSize <= out.size() - headerFrameAt)
        std::memcpy(out.data() + headerFrameAt, buffer.data(), headerSize);
    return out;
}

void TAudioListWriter::Add(uint32_t id, uint8_t type, TBytes data) {
    FSounds.push_back({id, type, std::move(data)});
}

TBytes TAudioListWriter::Build() const {
    std::vector<const TSound*> order;
    for (const TSound& sound : FSounds)
        order.push_back(&sound);
    std::stable_sort(order.begin(), order.end(),
                     [](const TSound* a, const TSound* b) { return a->ID < b->ID; });
    Audio::TAudioListHeader header{};
    std::memcpy(header.Signature, "AUDL", 4);
    header.Count = static_cast<int32_t>(order.size());
    return LayOutDirectory(header, order, [](const TSound& sound, uint32_t offset) {
        return Audio::TAudioListEntry{
            sound.ID, offset, static_cast<uint32_t>(sound.Data.size()), sound.Type, {}};
    });
}

} // namespace Tools
