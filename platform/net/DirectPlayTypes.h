// The DirectPlay 4 structures, identifiers, flags and system messages the game
// uses, with DirectPlay's own numeric values. The structures are plain memory
// layouts for the calls; what travels between peers is encoded field by field.
#pragma once

#include "platform/Guid.h"

#include <cstdint>

namespace Win32 {

using DPID = uint32_t;

// Service providers and address element types.
constexpr GUID DPSPGUID_IPX{
    0x685BC400, 0x9D2C, 0x11CF, {0xA9, 0xCD, 0x00, 0xAA, 0x00, 0x68, 0x86, 0xE3}};
constexpr GUID DPSPGUID_TCPIP{
    0x36E95EE0, 0x8577, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0x53, 0x4E, 0x82}};
constexpr GUID DPAID_ServiceProvider{
    0x07D916C0, 0xE0AF, 0x11CF, {0x9C, 0x4E, 0x00, 0xA0, 0xC9, 0x05, 0x42, 0x5E}};
constexpr GUID DPAID_INet{
    0xC4A54DA0, 0xE0AF, 0x11CF, {0x9C, 0x4E, 0x00, 0xA0, 0xC9, 0x05, 0x42, 0x5E}};

// Sender of system messages; addressee "all players".
constexpr DPID DPID_SYSMSG = 0;
constexpr DPID DPID_ALLPLAYERS = 0;

constexpr uint32_t DPSESSION_NEWPLAYERSDISABLED = 0x00000001;
constexpr uint32_t DPSESSION_MIGRATEHOST = 0x00000004;
constexpr uint32_t DPSESSION_JOINDISABLED = 0x00000020;
constexpr uint32_t DPSESSION_KEEPALIVE = 0x00000040;
constexpr uint32_t DPSESSION_DIRECTPLAYPROTOCOL = 0x00002000;

constexpr uint32_t DPOPEN_JOIN = 0x00000001;
constexpr uint32_t DPOPEN_CREATE = 0x00000002;

constexpr uint32_t DPENUMSESSIONS_AVAILABLE = 0x00000001;
constexpr uint32_t DPENUMSESSIONS_ALL = 0x00000002;
// Flag of the enumeration callback's last call: the time-out passed.
constexpr uint32_t DPESC_TIMEDOUT = 0x00000001;

constexpr uint32_t DPCONNECTION_DIRECTPLAY = 0x00000001;

constexpr uint32_t DPENUMPLAYERS_ALL = 0x00000000;
constexpr uint32_t DPENUMPLAYERS_LOCAL = 0x00000008;
constexpr uint32_t DPENUMPLAYERS_REMOTE = 0x00000010;
constexpr uint32_t DPENUMPLAYERS_GROUP = 0x00000020;
constexpr uint32_t DPPLAYERTYPE_PLAYER = 0;

constexpr uint32_t DPSEND_GUARANTEED = 0x00000001;

constexpr uint32_t DPRECEIVE_ALL = 0x00000001;
constexpr uint32_t DPRECEIVE_TOPLAYER = 0x00000002;
constexpr uint32_t DPRECEIVE_FROMPLAYER = 0x00000004;
constexpr uint32_t DPRECEIVE_PEEK = 0x00000008;

constexpr uint32_t DPGET_REMOTE = 0x00000000;
constexpr uint32_t DPGET_LOCAL = 0x00000001;
constexpr uint32_t DPSET_REMOTE = 0x00000000;
constexpr uint32_t DPSET_LOCAL = 0x00000001;
constexpr uint32_t DPSET_GUARANTEED = 0x00000002;

// System message types: the first dword of a message whose sender is DPID_SYSMSG.
constexpr uint32_t DPSYS_CREATEPLAYERORGROUP = 0x0003;
constexpr uint32_t DPSYS_DESTROYPLAYERORGROUP = 0x0005;
constexpr uint32_t DPSYS_SESSIONLOST = 0x0031;
constexpr uint32_t DPSYS_HOST = 0x0101;
constexpr uint32_t DPSYS_SETPLAYERORGROUPDATA = 0x0102;
constexpr uint32_t DPSYS_SETSESSIONDESC = 0x0104;

struct DPNAME {
    uint32_t dwSize;
    uint32_t dwFlags;
    const char* lpszShortNameA;
    const char* lpszLongNameA;
};

struct DPSESSIONDESC2 {
    uint32_t dwSize;
    uint32_t dwFlags;
    GUID guidInstance;
    GUID guidApplication;
    uint32_t dwMaxPlayers;
    uint32_t dwCurrentPlayers;
    const char* lpszSessionNameA;
    const char* lpszPasswordA;
    uint32_t dwUser1;
    uint32_t dwUser2;
    uint32_t dwUser3;
    uint32_t dwUser4;
};

struct DPCOMPOUNDADDRESSELEMENT {
    GUID guidDataType;
    uint32_t dwDataSize;
    const void* lpData;
};

// System messages as Receive hands them out: packed dwords, data after the header.
#pragma pack(push, 1)
struct DPMSG_GENERIC {
    uint32_t dwType;
};
struct DPMSG_CREATEPLAYERORGROUP {
    uint32_t dwType;
    uint32_t dwPlayerType;
    DPID dpId;
    uint32_t dwCurrentPlayers;
};
struct DPMSG_DESTROYPLAYERORGROUP {
    uint32_t dwType;
    uint32_t dwPlayerType;
    DPID dpId;
};
// Followed by dwDataSize bytes of the player's new data.
struct DPMSG_SETPLAYERORGROUPDATA {
    uint32_t dwType;
    uint32_t dwPlayerType;
    DPID dpId;
    uint32_t dwDataSize;
};
#pragma pack(pop)
static_assert(sizeof(DPMSG_GENERIC) == 4);
static_assert(sizeof(DPMSG_CREATEPLAYERORGROUP) == 16);
static_assert(sizeof(DPMSG_DESTROYPLAYERORGROUP) == 12);
static_assert(sizeof(DPMSG_SETPLAYERORGROUPDATA) == 16);

} // namespace Win32
