// The network play wire format. Every frame, on the TCP stream between a host
// and a joiner or alone in a UDP search datagram, is
//   u16 magic "VP", u8 protocol version, u8 frame type, u32 body length,
// then the body, all little-endian and written field by field. Strings are a
// u16 length and their bytes (no NUL inside); byte blocks a u32 length and their bytes.
// Decoding checks every length against the limits and the bytes present and
// accepts only the exact encoding, so a frame that decodes re-encodes to itself.
#pragma once

#include "platform/ResultCodes.h"
#include "platform/classlib/AnsiString.h"
#include "platform/classlib/Exception.h"
#include "platform/net/DirectPlayTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

namespace Win32::DPWire {

constexpr uint16_t Magic = 0x5056; // "VP"
constexpr uint8_t ProtocolVersion = 1;
constexpr size_t HeaderSize = 8;
// Largest game message a player may send, largest player data and name.
constexpr uint32_t MaxMessageSize = 64 * 1024;
constexpr uint32_t MaxPlayerDataSize = 4096;
constexpr size_t MaxNameLength = 1024;
constexpr uint32_t MaxBodySize = MaxMessageSize + 64;

enum class TFrameType : uint8_t {
    SearchRequest = 1,
    SearchReply,
    Hello,
    Welcome,
    Refused,
    CreatePlayer,
    CreatePlayerReply,
    PlayerAdded,
    DestroyPlayer,
    PlayerRemoved,
    PlayerData,
    Message,
    SessionDesc,
    KeepAlive,
};
const char* FrameTypeName(TFrameType type);

// A malformed frame; the message says what is wrong with it.
class EWireError : public ClassLib::Exception {
public:
    using Exception::Exception;
};

// A session description as it travels.
struct TSessionInfo {
    uint32_t Flags = 0;
    GUID Instance{};
    GUID Application{};
    uint32_t MaxPlayers = 0;
    uint32_t CurrentPlayers = 0;
    ClassLib::AnsiString Name;
    std::array<uint32_t, 4> User{};
    friend bool operator==(const TSessionInfo&, const TSessionInfo&) = default;
};

// A searcher asks every host of this application to answer.
struct TSearchRequest {
    GUID Application{};
    friend bool operator==(const TSearchRequest&, const TSearchRequest&) = default;
};
// A host answers with its session and the TCP port joiners connect to.
struct TSearchReply {
    uint16_t Port = 0;
    TSessionInfo Session;
    friend bool operator==(const TSearchReply&, const TSearchReply&) = default;
};
// Joiner to host, first frame on a new connection.
struct THello {
    GUID Application{};
    GUID Instance{};
    friend bool operator==(const THello&, const THello&) = default;
};
// Host to joiner: the join succeeded. The players already in the session were
// sent just before it as PlayerAdded frames without announcement.
struct TWelcome {
    TSessionInfo Session;
    friend bool operator==(const TWelcome&, const TWelcome&) = default;
};
// Host to joiner: the join failed with this DirectPlay result; the host closes.
struct TRefused {
    HRESULT Result = 0;
    friend bool operator==(const TRefused&, const TRefused&) = default;
};
// Joiner to host; the host answers with a CreatePlayerReply of the same request number.
struct TCreatePlayer {
    uint32_t Request = 0;
    ClassLib::AnsiString ShortName;
    ClassLib::AnsiString LongName;
    std::vector<uint8_t> Data;
    friend bool operator==(const TCreatePlayer&, const TCreatePlayer&) = default;
};
struct TCreatePlayerReply {
    uint32_t Request = 0;
    HRESULT Result = 0;
    DPID Player = 0;
    friend bool operator==(const TCreatePlayerReply&, const TCreatePlayerReply&) = default;
};
// Host to joiners: a player of another peer. Announced ones become system messages.
struct TPlayerAdded {
    DPID Player = 0;
    bool Announce = false;
    ClassLib::AnsiString ShortName;
    ClassLib::AnsiString LongName;
    std::vector<uint8_t> Data;
    friend bool operator==(const TPlayerAdded&, const TPlayerAdded&) = default;
};
// Joiner to host: it destroyed one of its players.
struct TDestroyPlayer {
    DPID Player = 0;
    friend bool operator==(const TDestroyPlayer&, const TDestroyPlayer&) = default;
};
// Host to joiners: a player of another peer is gone.
struct TPlayerRemoved {
    DPID Player = 0;
    friend bool operator==(const TPlayerRemoved&, const TPlayerRemoved&) = default;
};
// Both ways: the owner set a player's data.
struct TPlayerData {
    DPID Player = 0;
    std::vector<uint8_t> Data;
    friend bool operator==(const TPlayerData&, const TPlayerData&) = default;
};
// Both ways: a game message, never empty; To 0 addresses every player but the sender.
struct TMessage {
    DPID From = 0;
    DPID To = 0;
    std::vector<uint8_t> Payload;
    friend bool operator==(const TMessage&, const TMessage&) = default;
};
// Host to joiners: the host changed the session description.
struct TSessionDesc {
    TSessionInfo Session;
    friend bool operator==(const TSessionDesc&, const TSessionDesc&) = default;
};
// Both ways, when a side has had nothing else to send for a while.
struct TKeepAlive {
    friend bool operator==(const TKeepAlive&, const TKeepAlive&) = default;
};

// Alternatives in the order of TFrameType, starting at 1.
using TFrame = std::variant<TSearchRequest, TSearchReply, THello, TWelcome, TRefused, TCreatePlayer,
                            TCreatePlayerReply, TPlayerAdded, TDestroyPlayer, TPlayerRemoved,
                            TPlayerData, TMessage, TSessionDesc, TKeepAlive>;

TFrameType TypeOf(const TFrame& frame);

// Header and body of one frame.
std::vector<uint8_t> Encode(const TFrame& frame);
// One whole frame, as a UDP datagram carries it; trailing bytes are an error.
TFrame Decode(const uint8_t* data, size_t size);

// Cuts a byte stream into frames. A bad header is reported as soon as its
// eight bytes are in, so an oversized frame is refused before its body is buffered.
class TFrameReader {
public:
    void Append(const uint8_t* data, size_t size);
    // Takes the next whole frame; false when more bytes are needed.
    bool Next(TFrame& frame);
    // Bytes of an incomplete frame still waiting for the rest.
    size_t Pending() const { return FBuffer.size() - FStart; }

private:
    std::vector<uint8_t> FBuffer;
    size_t FStart = 0;
};

} // namespace Win32::DPWire
