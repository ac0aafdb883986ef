#include "platform/remove_on_signal.h"

#include <array>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kEndingSignals{SIGINT, SIGTERM, SIGHUP};

// A signal handler can reach nothing but static storage; the path is copied
// there whole before the handlers are installed.
struct Guarded {
    std::array<char, 4096> path{};
    volatile std::sig_atomic_t armed = 0;
    std::array<struct sigaction, kEndingSignals.size()> former{};
    struct sigaction formerXfsz {};
};
Guarded g_guarded;

void RemoveAndGoOn(int sig) {
    if (g_guarded.armed)
        ::unlink(g_guarded.path.data());
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (kEndingSignals[i] == sig)
            ::sigaction(sig, &g_guarded.former[i], nullptr);
    }
    ::raise(sig);
}

} // namespace

CRemoveOnSignal::CRemoveOnSignal(const std::string& path) {
    if (g_guarded.armed || path.size() >= g_guarded.path.size())
        return;
    std::memcpy(g_guarded.path.data(), path.c_str(), path.size() + 1);
    g_guarded.armed = 1;
    m_bArmed = true;
    struct sigaction remove {};
    remove.sa_handler = RemoveAndGoOn;
    sigemptyset(&remove.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], nullptr, &g_guarded.former[i]);
        if (g_guarded.former[i].sa_handler != SIG_IGN)
            ::sigaction(kEndingSignals[i], &remove, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &g_guarded.formerXfsz);
}

CRemoveOnSignal::~CRemoveOnSignal() {
    if (!m_bArmed)
        return;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        ::sigaction(kEndingSignals[i], &g_guarded.former[i], nullptr);
    ::sigaction(SIGXFSZ, &g_guarded.formerXfsz, nullptr);
    g_guarded.armed = 0;
}
