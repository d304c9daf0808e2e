// The other process of the two-process network test. "host" hosts the test
// session and prints its search port; "join <port>" finds it and joins. Both
// then report their player list, exchange with the test, and wait to be
// killed; the end of their input (the test has gone) ends them too.
#include "tests/engine/app/PeerExchange.h"

#include "platform/classlib/Exception.h"

#include <cstring>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

void WaitForEndOfInput() {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    char buffer[64];
    for (int waited = 0; waited < 300; ++waited)
        if (::poll(&fd, 1, 1000) > 0 && ::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            return;
}

int Run(bool hosting, uint16_t port) {
    using namespace PeerExchange;
    DPFrame::TDPFramework framework(LoopbackOptions(hosting ? 0 : port));
    Connect(framework);
    if (hosting) {
        Host(framework);
        Say("port " + std::to_string(framework.DirectPlay().SearchPort()));
    } else if (!Join(framework)) {
        Say("error: the session was not found");
        return 1;
    }
    Win32::DPID local = 0;
    framework.CreatePlayer("Helper", local);
    if (!WaitForPlayers(framework, 2)) {
        Say("error: the other player did not come");
        return 1;
    }
    Say("players " + PlayerList(framework));
    const std::string problem =
        Exchange(framework, local, OtherPlayer(framework, local), hosting ? 2 : 3, 1);
    Say("exchanged " + (problem.empty() ? "ok" : problem));
    WaitForEndOfInput();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool hosting = argc == 2 && std::strcmp(argv[1], "host") == 0;
    const bool joining = argc == 3 && std::strcmp(argv[1], "join") == 0;
    if (!hosting && !joining) {
        std::cerr << "usage: dpframe_peer host | join <search port>" << std::endl;
        return 2;
    }
    try {
        return Run(hosting, joining ? uint16_t(std::stoi(argv[2])) : 0);
    } catch (const std::exception& e) {
        Say("error: " + ClassLib::ExceptionMessage(e));
        return 1;
    }
}
