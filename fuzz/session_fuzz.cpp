// A hosting session fed by a joined peer that sends arbitrary frames after its
// handshake: routing, players and their data, and the receive queue, with the
// host's game reading between frames. Input: a byte stream as a joiner sends it.
// Player numbers below 16 in frames stand for the players of the session (0 for
// all, then the peer's own, then the host's), so that frames can name real ones;
// bytes that are no frame go to the host as they are.
#include "platform/net/DirectPlay.h"
#include "platform/net/DirectPlayInProcess.h"
#include "platform/net/DirectPlayLobby.h"
#include "platform/net/DirectPlayWire.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace Win32;

namespace {

constexpr uint32_t WaitMs = 5000;

class THost {
public:
    THost() {
        TDirectPlayOptions options;
        options.Network = Network;
        options.Log = [](const ClassLib::AnsiString&) {};
        // Nothing times out on its own; a small queue, so that floods reach its limit.
        options.KeepAliveMs = 60000;
        options.PeerTimeoutMs = 600000;
        options.PlayerTimeoutMs = 600000;
        options.ReceiveQueueLimit = 16 * 1024;
        Play = std::make_unique<IDirectPlay4A>(options);
        const DPCOMPOUNDADDRESSELEMENT element{DPAID_ServiceProvider, sizeof(GUID),
                                               &DPSPGUID_TCPIP};
        uint8_t address[64];
        uint32_t size = sizeof address;
        IDirectPlayLobby3A().CreateCompoundAddress(&element, 1, address, &size);
        Play->InitializeConnection(address, size, 0);
        DPSESSIONDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.lpszSessionNameA = "Fuzz";
        if (Play->Open(desc, DPOPEN_CREATE) != DP_OK)
            std::abort();
        for (DPID& player : Players)
            Play->CreatePlayer(player, nullptr, nullptr, nullptr, 0, 0);
        std::vector<uint8_t> bytes(1024);
        size = uint32_t(bytes.size());
        Play->GetSessionDesc(bytes.data(), &size);
        std::memcpy(&Instance, bytes.data() + offsetof(DPSESSIONDESC2, guidInstance),
                    sizeof Instance);
    }

    // What the game does between frames: reads what waits, sometimes only peeking.
    void ReadQueue() {
        std::vector<uint8_t> buffer(DPWire::MaxMessageSize + 64);
        for (int i = 0; i < 10000; ++i) {
            DPID from = 0;
            DPID to = 0;
            uint32_t size = uint32_t(buffer.size());
            if (Play->Receive(&from, &to, i % 3 == 0 ? DPRECEIVE_PEEK : DPRECEIVE_ALL,
                              buffer.data(), &size) != DP_OK &&
                i % 3 != 0)
                return;
        }
    }

    std::shared_ptr<TInProcessNetwork> Network = std::make_shared<TInProcessNetwork>();
    std::unique_ptr<IDirectPlay4A> Play;
    DPID Players[2] = {};
    GUID Instance{};
};

THost& Host() {
    static THost host;
    return host;
}

class TPeer {
public:
    TPeer(THost& host, std::unique_ptr<TRawConnection> connection)
        : FHost(host), FConnection(std::move(connection)) {}

    bool Handshake() {
        if (!Send(DPWire::THello{GUID_NULL, FHost.Instance}))
            return false;
        return Send(DPWire::TCreatePlayer{1, "Fuzz", "", {}});
    }

    bool Send(DPWire::TFrame frame) {
        std::visit([this](auto& f) { Name(f); }, frame);
        std::vector<uint8_t> bytes;
        try {
            bytes = DPWire::Encode(frame);
        } catch (const DPWire::EWireError&) {
            return true;
        }
        if (!FConnection->Write(bytes))
            return false;
        if (const auto* create = std::get_if<DPWire::TCreatePlayer>(&frame))
            return AwaitPlayer(create->Request);
        return true;
    }
    bool SendRaw(const uint8_t* data, size_t size) {
        return FConnection->Write(std::vector<uint8_t>(data, data + size));
    }
    void Finish() {
        FConnection->EndWriting();
        if (!FConnection->WaitUntilClosed(WaitMs))
            std::abort();
    }

private:
    DPID Real(DPID id) const {
        if (id >= 16)
            return id;
        std::vector<DPID> known{DPID_ALLPLAYERS};
        known.insert(known.end(), FPlayers.begin(), FPlayers.end());
        known.insert(known.end(), std::begin(FHost.Players), std::end(FHost.Players));
        return known[id % known.size()];
    }
    void Name(DPWire::TMessage& f) {
        f.From = Real(f.From);
        f.To = Real(f.To);
    }
    void Name(DPWire::TPlayerData& f) { f.Player = Real(f.Player); }
    void Name(DPWire::TDestroyPlayer& f) { f.Player = Real(f.Player); }
    template <class T>
    void Name(T&) {}

    // The host's answer names the new player; what else comes meanwhile is skipped.
    bool AwaitPlayer(uint32_t request) {
        DPWire::TFrame frame;
        while (FConnection->ReadFrame(frame, WaitMs))
            if (const auto* reply = std::get_if<DPWire::TCreatePlayerReply>(&frame)) {
                if (reply->Request == request && reply->Result == DP_OK)
                    FPlayers.push_back(reply->Player);
                return true;
            }
        return false;
    }

    THost& FHost;
    std::unique_ptr<TRawConnection> FConnection;
    std::vector<DPID> FPlayers;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    THost& host = Host();
    TPeer peer(host, host.Network->ConnectRaw());
    bool open = peer.Handshake();
    DPWire::TFrameReader reader;
    reader.Append(data, size);
    size_t used = 0;
    while (open) {
        DPWire::TFrame frame;
        try {
            if (!reader.Next(frame))
                break;
        } catch (const DPWire::EWireError&) {
            break;
        }
        used = size - reader.Pending();
        open = peer.Send(std::move(frame));
        host.ReadQueue();
    }
    if (open && used < size)
        peer.SendRaw(data + used, size - used);
    peer.Finish();
    host.ReadQueue();

    // Once the peer is gone, so are its players, whatever it did.
    size_t players = 0;
    host.Play->EnumPlayers(
        nullptr, [&players](DPID, uint32_t, const DPNAME&, uint32_t) { return ++players, true; },
        0);
    if (players != 2)
        std::abort();
    return 0;
}
