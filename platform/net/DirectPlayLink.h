// One stream connection of a session: non-blocking reads into a frame reader
// and buffered non-blocking writes, so no peer can stall the thread serving it.
#pragma once

#include "platform/classlib/AnsiString.h"
#include "platform/net/DirectPlayWire.h"

#include <chrono>
#include <cstdint>
#include <vector>

struct pollfd;

namespace Win32 {

// Waits for one socket until the deadline; a signal does not end the wait early.
// Returns what poll returns: 1 when ready, 0 at the deadline, -1 on an error.
int PollUntil(pollfd& fd, std::chrono::steady_clock::time_point deadline);

class TDPLink {
public:
    using TClock = std::chrono::steady_clock;

    // Takes ownership of a connected stream socket.
    TDPLink(int socket, ClassLib::AnsiString name);
    ~TDPLink();
    TDPLink(const TDPLink&) = delete;
    TDPLink& operator=(const TDPLink&) = delete;

    int Socket() const { return FSocket; }
    const ClassLib::AnsiString& Name() const { return FName; }

    // Queues a whole frame and writes what the socket takes now. False, with
    // error set, when the connection failed.
    bool Send(const std::vector<uint8_t>& frame, ClassLib::AnsiString& error);
    bool Flush(ClassLib::AnsiString& error);
    // Bytes queued that the socket has not taken yet.
    size_t Unsent() const { return FOut.size() - FOutStart; }

    enum class TReadResult { Open, Closed, Failed };
    // Moves what has arrived into Frames() without blocking.
    TReadResult Read(ClassLib::AnsiString& error);
    DPWire::TFrameReader& Frames() { return FFrames; }

    // Writes what it can, ends the stream and closes the socket.
    void Shutdown();

    TClock::time_point Created;
    TClock::time_point LastReceived;
    TClock::time_point LastSent;

private:
    int FSocket;
    ClassLib::AnsiString FName;
    std::vector<uint8_t> FOut;
    size_t FOutStart = 0;
    DPWire::TFrameReader FFrames;
};

} // namespace Win32
