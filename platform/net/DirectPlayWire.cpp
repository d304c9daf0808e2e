#include "platform/net/DirectPlayWire.h"

#include <cstring>
#include <type_traits>

namespace Win32::DPWire {

using ClassLib::AnsiString;
using ClassLib::Format;

namespace {

constexpr uint8_t LastFrameType = static_cast<uint8_t>(TFrameType::KeepAlive);

class TWriter {
public:
    void U8(uint8_t value) { FBytes.push_back(value); }
    void U16(uint16_t value) {
        U8(static_cast<uint8_t>(value));
        U8(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        U16(static_cast<uint16_t>(value));
        U16(static_cast<uint16_t>(value >> 16));
    }
    void Guid(const GUID& guid) {
        U32(guid.Data1);
        U16(guid.Data2);
        U16(guid.Data3);
        FBytes.insert(FBytes.end(), guid.Data4, guid.Data4 + 8);
    }
    void String(const AnsiString& text) {
        if (text.size() > MaxNameLength || text.find('\0') != AnsiString::npos)
            throw EWireError(Format("cannot send the name \"%s\"", text));
        U16(static_cast<uint16_t>(text.size()));
        FBytes.insert(FBytes.end(), text.begin(), text.end());
    }
    void Bytes(const std::vector<uint8_t>& bytes) {
        U32(static_cast<uint32_t>(bytes.size()));
        FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
    }
    void Session(const TSessionInfo& session) {
        U32(session.Flags);
        Guid(session.Instance);
        Guid(session.Application);
        U32(session.MaxPlayers);
        U32(session.CurrentPlayers);
        String(session.Name);
        for (const uint32_t user : session.User)
            U32(user);
    }
    std::vector<uint8_t>& Result() { return FBytes; }

private:
    std::vector<uint8_t> FBytes;
};

class TReader {
public:
    TReader(const uint8_t* data, size_t size, TFrameType type)
        : FData(data), FSize(size), FType(type) {}

    uint8_t U8() {
        Need(1);
        return FData[FPosition++];
    }
    uint16_t U16() {
        const uint16_t low = U8();
        return static_cast<uint16_t>(low | (U8() << 8));
    }
    uint32_t U32() {
        const uint32_t low = U16();
        return low | (static_cast<uint32_t>(U16()) << 16);
    }
    bool Bool() {
        const uint8_t value = U8();
        if (value > 1)
            Fail(Format("has the flag value %u where 0 or 1 belongs", value));
        return value == 1;
    }
    GUID Guid() {
        GUID guid;
        guid.Data1 = U32();
        guid.Data2 = U16();
        guid.Data3 = U16();
        Need(8);
        std::memcpy(guid.Data4, FData + FPosition, 8);
        FPosition += 8;
        return guid;
    }
    AnsiString String() {
        const size_t length = U16();
        if (length > MaxNameLength)
            Fail(Format("holds a name of %u bytes (at most %u)", unsigned(length),
                        unsigned(MaxNameLength)));
        Need(length);
        AnsiString text(reinterpret_cast<const char*>(FData + FPosition), length);
        if (text.find('\0') != AnsiString::npos)
            Fail("holds a name with a NUL character");
        FPosition += length;
        return text;
    }
    std::vector<uint8_t> Bytes(uint32_t limit) {
        const uint32_t length = U32();
        if (length > limit)
            Fail(Format("holds a block of %u bytes (at most %u)", length, limit));
        Need(length);
        std::vector<uint8_t> bytes(FData + FPosition, FData + FPosition + length);
        FPosition += length;
        return bytes;
    }
    // Send refuses empty game messages, so an empty one is no frame of ours.
    std::vector<uint8_t> Payload() {
        std::vector<uint8_t> bytes = Bytes(MaxMessageSize);
        if (bytes.empty())
            Fail("holds an empty message");
        return bytes;
    }
    TSessionInfo Session() {
        TSessionInfo session;
        session.Flags = U32();
        session.Instance = Guid();
        session.Application = Guid();
        session.MaxPlayers = U32();
        session.CurrentPlayers = U32();
        session.Name = String();
        for (uint32_t& user : session.User)
            user = U32();
        return session;
    }
    void Finish() const {
        if (FPosition != FSize)
            Fail(Format("has %u bytes after its last field", unsigned(FSize - FPosition)));
    }

private:
    void Need(size_t count) const {
        if (count > FSize - FPosition)
            Fail("ends inside its fields");
    }
    [[noreturn]] void Fail(const AnsiString& what) const {
        throw EWireError(Format("a %s frame that %s", FrameTypeName(FType), what));
    }

    const uint8_t* FData;
    size_t FSize;
    size_t FPosition = 0;
    TFrameType FType;
};

void EncodeBody(TWriter& w, const TSearchRequest& f) {
    w.Guid(f.Application);
}
void EncodeBody(TWriter& w, const TSearchReply& f) {
    w.U16(f.Port);
    w.Session(f.Session);
}
void EncodeBody(TWriter& w, const THello& f) {
    w.Guid(f.Application);
    w.Guid(f.Instance);
}
void EncodeBody(TWriter& w, const TWelcome& f) {
    w.Session(f.Session);
}
void EncodeBody(TWriter& w, const TRefused& f) {
    w.U32(static_cast<uint32_t>(f.Result));
}
void EncodeBody(TWriter& w, const TCreatePlayer& f) {
    w.U32(f.Request);
    w.String(f.ShortName);
    w.String(f.LongName);
    w.Bytes(f.Data);
}
void EncodeBody(TWriter& w, const TCreatePlayerReply& f) {
    w.U32(f.Request);
    w.U32(static_cast<uint32_t>(f.Result));
    w.U32(f.Player);
}
void EncodeBody(TWriter& w, const TPlayerAdded& f) {
    w.U32(f.Player);
    w.U8(f.Announce ? 1 : 0);
    w.String(f.ShortName);
    w.String(f.LongName);
    w.Bytes(f.Data);
}
void EncodeBody(TWriter& w, const TDestroyPlayer& f) {
    w.U32(f.Player);
}
void EncodeBody(TWriter& w, const TPlayerRemoved& f) {
    w.U32(f.Player);
}
void EncodeBody(TWriter& w, const TPlayerData& f) {
    w.U32(f.Player);
    w.Bytes(f.Data);
}
void EncodeBody(TWriter& w, const TMessage& f) {
    w.U32(f.From);
    w.U32(f.To);
    w.Bytes(f.Payload);
}
void EncodeBody(TWriter& w, const TSessionDesc& f) {
    w.Session(f.Session);
}
void EncodeBody(TWriter&, const TKeepAlive&) {}

TFrame DecodeBody(TFrameType type, const uint8_t* data, size_t size) {
    TReader r(data, size, type);
    TFrame frame;
    switch (type) {
    case TFrameType::SearchRequest:
        frame = TSearchRequest{r.Guid()};
        break;
    case TFrameType::SearchReply: {
        TSearchReply f;
        f.Port = r.U16();
        f.Session = r.Session();
        frame = std::move(f);
        break;
    }
    case TFrameType::Hello: {
        THello f;
        f.Application = r.Guid();
        f.Instance = r.Guid();
        frame = f;
        break;
    }
    case TFrameType::Welcome:
        frame = TWelcome{r.Session()};
        break;
    case TFrameType::Refused:
        frame = TRefused{static_cast<HRESULT>(r.U32())};
        break;
    case TFrameType::CreatePlayer: {
        TCreatePlayer f;
        f.Request = r.U32();
        f.ShortName = r.String();
        f.LongName = r.String();
        f.Data = r.Bytes(MaxPlayerDataSize);
        frame = std::move(f);
        break;
    }
    case TFrameType::CreatePlayerReply: {
        TCreatePlayerReply f;
        f.Request = r.U32();
        f.Result = static_cast<HRESULT>(r.U32());
        f.Player = r.U32();
        frame = f;
        break;
    }
    case TFrameType::PlayerAdded: {
        TPlayerAdded f;
        f.Player = r.U32();
        f.Announce = r.Bool();
        f.ShortName = r.String();
        f.LongName = r.String();
        f.Data = r.Bytes(MaxPlayerDataSize);
        frame = std::move(f);
        break;
    }
    case TFrameType::DestroyPlayer:
        frame = TDestroyPlayer{r.U32()};
        break;
    case TFrameType::PlayerRemoved:
        frame = TPlayerRemoved{r.U32()};
        break;
    case TFrameType::PlayerData: {
        TPlayerData f;
        f.Player = r.U32();
        f.Data = r.Bytes(MaxPlayerDataSize);
        frame = std::move(f);
        break;
    }
    case TFrameType::Message: {
        TMessage f;
        f.From = r.U32();
        f.To = r.U32();
        f.Payload = r.Payload();
        frame = std::move(f);
        break;
    }
    case TFrameType::SessionDesc:
        frame = TSessionDesc{r.Session()};
        break;
    case TFrameType::KeepAlive:
        frame = TKeepAlive{};
        break;
    }
    r.Finish();
    return frame;
}

struct THeader {
    TFrameType Type;
    uint32_t BodySize;
};

THeader CheckHeader(const uint8_t* data) {
    const uint16_t magic = static_cast<uint16_t>(data[0] | (data[1] << 8));
    if (magic != Magic)
        throw EWireError(
            Format("bytes that are not a network play frame (they start with 0x%04X)", magic));
    if (data[2] != ProtocolVersion)
        throw EWireError(Format("a frame of protocol version %u (this program speaks version %u)",
                                data[2], ProtocolVersion));
    if (data[3] == 0 || data[3] > LastFrameType)
        throw EWireError(Format("a frame of unknown type %u", data[3]));
    const uint32_t size = data[4] | (data[5] << 8) | (data[6] << 16) | (uint32_t(data[7]) << 24);
    const auto type = static_cast<TFrameType>(data[3]);
    if (size > MaxBodySize)
        throw EWireError(
            Format("a %s frame of %u bytes (at most %u)", FrameTypeName(type), size, MaxBodySize));
    return {type, size};
}

} // namespace

const char* FrameTypeName(TFrameType type) {
    static const char* const names[] = {
        "SearchRequest", "SearchReply",       "Hello",       "Welcome",       "Refused",
        "CreatePlayer",  "CreatePlayerReply", "PlayerAdded", "DestroyPlayer", "PlayerRemoved",
        "PlayerData",    "Message",           "SessionDesc", "KeepAlive"};
    const auto index = static_cast<size_t>(type);
    return index >= 1 && index <= LastFrameType ? names[index - 1] : "unknown";
}

TFrameType TypeOf(const TFrame& frame) {
    return static_cast<TFrameType>(frame.index() + 1);
}

std::vector<uint8_t> Encode(const TFrame& frame) {
    static_assert(std::variant_size_v<TFrame> == LastFrameType);
    TWriter w;
    w.U16(Magic);
    w.U8(ProtocolVersion);
    w.U8(static_cast<uint8_t>(TypeOf(frame)));
    w.U32(0);
    std::visit([&w](const auto& body) { EncodeBody(w, body); }, frame);
    std::vector<uint8_t>& bytes = w.Result();
    const size_t size = bytes.size() - HeaderSize;
    if (size > MaxBodySize)
        throw EWireError(Format("cannot send a %s frame of %u bytes", FrameTypeName(TypeOf(frame)),
                                unsigned(size)));
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<uint8_t>(size >> (8 * i));
    return std::move(bytes);
}

TFrame Decode(const uint8_t* data, size_t size) {
    if (size < HeaderSize)
        throw EWireError(
            Format("a datagram of %u bytes, shorter than a frame header", unsigned(size)));
    const THeader header = CheckHeader(data);
    if (header.BodySize != size - HeaderSize)
        throw EWireError(Format("a %s frame of %u bytes in a datagram holding %u",
                                FrameTypeName(header.Type), header.BodySize,
                                unsigned(size - HeaderSize)));
    return DecodeBody(header.Type, data + HeaderSize, header.BodySize);
}

void TFrameReader::Append(const uint8_t* data, size_t size) {
    if (FStart > 0 && FStart == FBuffer.size()) {
        FBuffer.clear();
        FStart = 0;
    } else if (FStart > 64 * 1024 && FStart * 2 > FBuffer.size()) {
        FBuffer.erase(FBuffer.begin(), FBuffer.begin() + static_cast<ptrdiff_t>(FStart));
        FStart = 0;
    }
    FBuffer.insert(FBuffer.end(), data, data + size);
}

bool TFrameReader::Next(TFrame& frame) {
    if (Pending() < HeaderSize)
        return false;
    const uint8_t* start = FBuffer.data() + FStart;
    const THeader header = CheckHeader(start);
    if (Pending() - HeaderSize < header.BodySize)
        return false;
    frame = DecodeBody(header.Type, start + HeaderSize, header.BodySize);
    FStart += HeaderSize + header.BodySize;
    return true;
}

} // namespace Win32::DPWire
