#include "platform/net/DirectPlayLink.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Win32 {

using ClassLib::AnsiString;

namespace {
// Reads at most this much per call, so one busy peer cannot starve the others.
constexpr size_t ReadQuantum = 256 * 1024;
} // namespace

int PollUntil(pollfd& fd, std::chrono::steady_clock::time_point deadline) {
    while (true) {
        // Rounded up, so that the wait never ends before the deadline.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        const int ready = ::poll(&fd, 1, left < 0 ? 0 : static_cast<int>(left));
        if (ready >= 0 || errno != EINTR)
            return ready;
    }
}

TDPLink::TDPLink(int socket, AnsiString name) : FSocket(socket), FName(std::move(name)) {
    Created = LastReceived = LastSent = TClock::now();
}

TDPLink::~TDPLink() {
    if (FSocket >= 0)
        ::close(FSocket);
}

bool TDPLink::Send(const std::vector<uint8_t>& frame, AnsiString& error) {
    if (FOutStart == FOut.size()) {
        FOut.clear();
        FOutStart = 0;
    }
    FOut.insert(FOut.end(), frame.begin(), frame.end());
    LastSent = TClock::now();
    return Flush(error);
}

bool TDPLink::Flush(AnsiString& error) {
    while (FSocket >= 0 && FOutStart < FOut.size()) {
        const ssize_t sent = ::send(FSocket, FOut.data() + FOutStart, FOut.size() - FOutStart,
                                    MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            FOutStart += static_cast<size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            error = ClassLib::Format("cannot send (%s)", std::strerror(errno));
            return false;
        }
    }
    if (FOutStart == FOut.size()) {
        FOut.clear();
        FOutStart = 0;
    } else if (FOutStart > 1024 * 1024) {
        FOut.erase(FOut.begin(), FOut.begin() + static_cast<ptrdiff_t>(FOutStart));
        FOutStart = 0;
    }
    return true;
}

TDPLink::TReadResult TDPLink::Read(AnsiString& error) {
    uint8_t buffer[16 * 1024];
    size_t total = 0;
    while (total < ReadQuantum) {
        const ssize_t got = ::recv(FSocket, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            FFrames.Append(buffer, static_cast<size_t>(got));
            total += static_cast<size_t>(got);
            LastReceived = TClock::now();
        } else if (got == 0) {
            return TReadResult::Closed;
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else {
            error = ClassLib::Format("cannot receive (%s)", std::strerror(errno));
            return TReadResult::Failed;
        }
    }
    return TReadResult::Open;
}

void TDPLink::Shutdown() {
    if (FSocket < 0)
        return;
    AnsiString ignored;
    Flush(ignored);
    ::shutdown(FSocket, SHUT_WR);
    // Unread input would make the close reset the connection and could cost the
    // peer the last frames sent to it.
    uint8_t buffer[4096];
    for (int i = 0; i < 64 && ::recv(FSocket, buffer, sizeof buffer, MSG_DONTWAIT) > 0; ++i) {
    }
    ::close(FSocket);
    FSocket = -1;
}

} // namespace Win32
