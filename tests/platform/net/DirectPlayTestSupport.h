// Small steps the DirectPlay tests repeat: connect, host, search and join,
// create players, and wait for messages with generous time-outs.
#pragma once

#include "platform/net/DirectPlay.h"
#include "platform/net/DirectPlayLobby.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace DirectPlayTestSupport {

using namespace Win32;

// Generous: a sanitized build on a loaded machine may be slow.
constexpr int WaitMs = 20000;

// Collects the log lines of the DirectPlay objects of a test.
class TLogLines {
public:
    std::function<void(const std::string&)> Sink() {
        return [this](const std::string& line) {
            std::lock_guard<std::mutex> lock(FLock);
            FLines.push_back(line);
        };
    }
    bool Contains(const std::string& text) {
        std::lock_guard<std::mutex> lock(FLock);
        for (const std::string& line : FLines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
    size_t Count(const std::string& text) {
        std::lock_guard<std::mutex> lock(FLock);
        return size_t(std::count_if(FLines.begin(), FLines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        }));
    }
    std::string All() {
        std::lock_guard<std::mutex> lock(FLock);
        std::string all;
        for (const std::string& line : FLines)
            all += line + "\n";
        return all;
    }

private:
    std::mutex FLock;
    std::vector<std::string> FLines;
};

// A frame header with the given fields, right or wrong.
inline std::vector<uint8_t> FrameHeader(uint8_t version, uint8_t type, uint32_t length) {
    // Room for a body up front: callers append one.
    std::vector<uint8_t> header;
    header.reserve(64);
    header.assign({'V', 'P', version, type, uint8_t(length), uint8_t(length >> 8),
                   uint8_t(length >> 16), uint8_t(length >> 24)});
    return header;
}

// Options for objects on an in-process network, logging into log.
inline TDirectPlayOptions InProcessOptions(const std::shared_ptr<TInProcessNetwork>& network,
                                           TLogLines& log) {
    TDirectPlayOptions options;
    options.Network = network;
    options.Log = log.Sink();
    return options;
}

inline std::vector<uint8_t> TcpIpAddress(const std::string& host) {
    IDirectPlayLobby3A lobby;
    const DPCOMPOUNDADDRESSELEMENT elements[2] = {
        {DPAID_ServiceProvider, sizeof(GUID), &DPSPGUID_TCPIP},
        {DPAID_INet, static_cast<uint32_t>(host.size() + 1), host.c_str()}};
    uint32_t size = 0;
    EXPECT_EQ(lobby.CreateCompoundAddress(elements, 2, nullptr, &size), DPERR_BUFFERTOOSMALL);
    std::vector<uint8_t> address(size);
    EXPECT_EQ(lobby.CreateCompoundAddress(elements, 2, address.data(), &size), DP_OK);
    return address;
}

inline std::unique_ptr<IDirectPlay4A> Connected(const TDirectPlayOptions& options) {
    auto directPlay = std::make_unique<IDirectPlay4A>(options);
    const std::vector<uint8_t> address = TcpIpAddress("");
    EXPECT_EQ(directPlay->InitializeConnection(address.data(), uint32_t(address.size()), 0), DP_OK);
    return directPlay;
}

inline DPSESSIONDESC2 Description(const char* name, uint32_t flags, uint32_t maxPlayers) {
    DPSESSIONDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = flags;
    desc.dwMaxPlayers = maxPlayers;
    desc.lpszSessionNameA = name;
    desc.dwUser1 = 100;
    desc.dwUser2 = 7;
    desc.dwUser3 = 2;
    return desc;
}

inline std::unique_ptr<IDirectPlay4A> Hosting(const TDirectPlayOptions& options,
                                              const char* name = "Tower", uint32_t flags = 0x2044,
                                              uint32_t maxPlayers = 8) {
    auto directPlay = Connected(options);
    EXPECT_EQ(directPlay->Open(Description(name, flags, maxPlayers), DPOPEN_CREATE), DP_OK);
    return directPlay;
}

struct TFoundSession {
    DPSESSIONDESC2 Desc; // its name pointer is cleared; the name is in Name
    std::string Name;
};

inline std::vector<TFoundSession> Search(IDirectPlay4A& directPlay,
                                         uint32_t flags = DPENUMSESSIONS_AVAILABLE,
                                         uint32_t timeoutMs = 50) {
    std::vector<TFoundSession> found;
    DPSESSIONDESC2 desc{};
    desc.dwSize = sizeof desc;
    const HRESULT result = directPlay.EnumSessions(
        desc, timeoutMs,
        [&found](const DPSESSIONDESC2* session, uint32_t&, uint32_t) {
            if (!session)
                return false;
            TFoundSession copy{*session, session->lpszSessionNameA};
            copy.Desc.lpszSessionNameA = nullptr;
            found.push_back(copy);
            return true;
        },
        flags);
    EXPECT_EQ(result, DP_OK);
    return found;
}

inline std::unique_ptr<IDirectPlay4A> Joined(const TDirectPlayOptions& options) {
    auto directPlay = Connected(options);
    std::vector<TFoundSession> found;
    for (int attempt = 0; attempt < 40 && found.empty(); ++attempt)
        found = Search(*directPlay);
    EXPECT_EQ(found.size(), 1u);
    if (!found.empty()) {
        EXPECT_EQ(directPlay->Open(found[0].Desc, DPOPEN_JOIN), DP_OK);
    }
    return directPlay;
}

inline DPID CreatePlayer(IDirectPlay4A& directPlay, const char* shortName) {
    const DPNAME name{sizeof(DPNAME), 0, shortName, nullptr};
    DPID id = 0;
    EXPECT_EQ(directPlay.CreatePlayer(id, &name, nullptr, nullptr, 0, 0), DP_OK);
    return id;
}

struct TReceived {
    DPID From = 0;
    std::vector<uint8_t> Data;
    uint32_t Type() const {
        uint32_t type = 0;
        std::memcpy(&type, Data.data(), std::min<size_t>(4, Data.size()));
        return type;
    }
    // The player a system message is about (its third dword).
    DPID Subject() const {
        DPID id = 0;
        if (Data.size() >= 12)
            std::memcpy(&id, Data.data() + 8, 4);
        return id;
    }
    std::string Text() const { return std::string(Data.begin(), Data.end()); }
};

// The next message for the local player `to`; false when none came in time.
inline bool NextMessage(IDirectPlay4A& directPlay, DPID to, TReceived& received,
                        int timeoutMs = WaitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<uint8_t> buffer(70000);
    while (std::chrono::steady_clock::now() < deadline) {
        DPID from = 0;
        DPID addressee = to;
        uint32_t size = uint32_t(buffer.size());
        const HRESULT result =
            directPlay.Receive(&from, &addressee, DPRECEIVE_TOPLAYER, buffer.data(), &size);
        if (result == DP_OK) {
            received.From = from;
            received.Data.assign(buffer.begin(), buffer.begin() + size);
            return true;
        }
        EXPECT_EQ(result, DPERR_NOMESSAGES);
        if (result != DPERR_NOMESSAGES)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Skips system messages until one of this type comes; false when none did in time.
inline bool WaitForSystemMessage(IDirectPlay4A& directPlay, DPID to, uint32_t type,
                                 TReceived& received) {
    while (NextMessage(directPlay, to, received))
        if (received.From == DPID_SYSMSG && received.Type() == type)
            return true;
    return false;
}

inline HRESULT SendText(IDirectPlay4A& directPlay, DPID from, DPID to, const std::string& text) {
    return directPlay.Send(from, to, DPSEND_GUARANTEED, text.data(), uint32_t(text.size()));
}

struct TPlayerEntry {
    DPID ID;
    std::string Name;
    uint32_t Flags;
    friend bool operator==(const TPlayerEntry&, const TPlayerEntry&) = default;
};

inline std::vector<TPlayerEntry> Players(IDirectPlay4A& directPlay,
                                         uint32_t flags = DPENUMPLAYERS_ALL) {
    std::vector<TPlayerEntry> players;
    EXPECT_EQ(directPlay.EnumPlayers(
                  nullptr,
                  [&players](DPID id, uint32_t, const DPNAME& name, uint32_t playerFlags) {
                      players.push_back(
                          {id, name.lpszShortNameA ? name.lpszShortNameA : "", playerFlags});
                      return true;
                  },
                  flags),
              DP_OK);
    return players;
}

// Polls until the object lists count players.
inline bool WaitForPlayerCount(IDirectPlay4A& directPlay, size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Players(directPlay).size() == count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace DirectPlayTestSupport
