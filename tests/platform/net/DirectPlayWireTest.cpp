#include "platform/net/DirectPlayWire.h"
#include "tests/platform/net/DirectPlayTestSupport.h"

#include <gtest/gtest.h>

using namespace Win32;
using namespace Win32::DPWire;

namespace {

TSessionInfo SampleSession() {
    TSessionInfo session;
    session.Flags = DPSESSION_KEEPALIVE | DPSESSION_MIGRATEHOST;
    session.Instance = GUID{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    session.MaxPlayers = 8;
    session.CurrentPlayers = 3;
    session.Name = "Tower";
    session.User = {100, 7, 2, 0};
    return session;
}

std::vector<TFrame> EveryFrameType() {
    return {TSearchRequest{GUID{1, 2, 3, {4}}},
            TSearchReply{4321, SampleSession()},
            THello{GUID{}, SampleSession().Instance},
            TWelcome{SampleSession()},
            TRefused{DPERR_NONEWPLAYERS},
            TCreatePlayer{7, "Ann (box)", "", {1, 2, 3}},
            TCreatePlayerReply{7, DP_OK, 0x1234},
            TPlayerAdded{0x1234, true, "Ann", "Long Ann", std::vector<uint8_t>(8, 1)},
            TDestroyPlayer{0x1234},
            TPlayerRemoved{0x1234},
            TPlayerData{0x1234, {2, 0, 0, 0, 1, 0, 0, 0}},
            TMessage{0x1234, 0, std::vector<uint8_t>(68, 0xAB)},
            TSessionDesc{SampleSession()},
            TKeepAlive{}};
}

// A frame header with the given fields, followed by body.
std::vector<uint8_t> RawFrame(uint8_t version, uint8_t type, uint32_t length,
                              const std::vector<uint8_t>& body) {
    std::vector<uint8_t> bytes = DirectPlayTestSupport::FrameHeader(version, type, length);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

} // namespace

TEST(DirectPlayWire, EveryFrameSurvivesEncodingAndByteByByteReading) {
    TFrameReader reader;
    std::vector<TFrame> read;
    for (const TFrame& frame : EveryFrameType()) {
        const std::vector<uint8_t> bytes = Encode(frame);
        EXPECT_EQ(Decode(bytes.data(), bytes.size()), frame) << FrameTypeName(TypeOf(frame));
        for (const uint8_t byte : bytes) {
            reader.Append(&byte, 1);
            TFrame next;
            while (reader.Next(next))
                read.push_back(next);
        }
    }
    EXPECT_EQ(read, EveryFrameType());
    EXPECT_EQ(reader.Pending(), 0u);
}

TEST(DirectPlayWire, MalformedFramesAreRefusedWithTheReason) {
    const std::vector<uint8_t> message = Encode(TMessage{5, 0, {1, 2, 3, 4}});
    std::vector<uint8_t> trailing = Encode(TKeepAlive{});
    trailing[4] = 1;
    trailing.push_back(0);
    std::vector<uint8_t> nulName = Encode(TCreatePlayer{1, "ab", "", {}});
    nulName[8 + 4 + 2 + 1] = 0; // second letter of the short name
    std::vector<uint8_t> badFlag = Encode(TPlayerAdded{9, false, "", "", {}});
    badFlag[8 + 4] = 2;
    std::vector<uint8_t> bigBlock = Encode(TPlayerData{9, {}});
    bigBlock[8 + 4 + 2] = 1; // data length 65536, above the player-data limit
    const std::vector<uint8_t> emptyMessage = Encode(TMessage{5, 0, {}});
    std::vector<uint8_t> missingBlock = Encode(TPlayerData{9, {}});
    missingBlock[8 + 4] = 5; // five bytes of data announced, none present

    struct TCase {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"not ours", {'G', 'E', 'T', ' ', '/', ' ', 'H', 'T'}, "not a network play frame"},
        {"wrong version", RawFrame(2, 14, 0, {}), "protocol version 2"},
        {"unknown type", RawFrame(1, 99, 0, {}), "unknown type 99"},
        {"type zero", RawFrame(1, 0, 0, {}), "unknown type 0"},
        {"oversized", RawFrame(1, 12, 1 << 20, {}), "1048576 bytes"},
        {"truncated", RawFrame(1, 12, 6, {1, 0, 0, 0, 0, 0}), "ends inside its fields"},
        {"trailing bytes", trailing, "1 bytes after its last field"},
        {"NUL in a name", nulName, "NUL"},
        {"flag out of range", badFlag, "flag value 2"},
        {"block above its limit", bigBlock, "block of 65536 bytes"},
        {"block beyond the frame", missingBlock, "ends inside its fields"},
        {"empty game message", emptyMessage, "holds an empty message"},
        {"datagram shorter than its frame",
         std::vector<uint8_t>(message.begin(), message.end() - 1), "in a datagram holding"},
    };
    for (const TCase& c : cases) {
        try {
            Decode(c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const EWireError& e) {
            EXPECT_NE(e.Message.find(c.reason), std::string::npos) << c.name << ": " << e.Message;
        }
    }
}

TEST(DirectPlayWire, ReaderRefusesAnOversizedFrameFromItsHeaderAlone) {
    TFrameReader reader;
    const std::vector<uint8_t> header = RawFrame(1, 12, 0x7FFFFFFF, {});
    reader.Append(header.data(), header.size());
    TFrame frame;
    EXPECT_THROW(reader.Next(frame), EWireError);
}

TEST(DirectPlayWire, NamesThatCannotTravelAreRefusedWhenEncoding) {
    EXPECT_THROW(Encode(TCreatePlayer{1, std::string(MaxNameLength + 1, 'x'), "", {}}), EWireError);
    EXPECT_THROW(Encode(TCreatePlayer{1, std::string("a\0b", 3), "", {}}), EWireError);
}
