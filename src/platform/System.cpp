// Clock and program location.
#include "platform/System.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <system_error>

namespace orv {

double ClockSeconds() {
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point start = Clock::now();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) {
        return {};
    }
    return exe.parent_path().string();
}

namespace {

volatile std::sig_atomic_t quitSignal = 0;

extern "C" void OnQuitSignal(int signal) {
    quitSignal = signal;
    std::signal(signal, SIG_DFL); // a second one is not caught
}

} // namespace

void CatchQuitSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signal, OnQuitSignal);
    }
}

bool QuitSignalled() { return quitSignal != 0; }

} // namespace orv
