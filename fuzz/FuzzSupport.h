// What every fuzz target shares: fatal errors caught as exceptions, the log kept quiet, and the
// built game tree for the targets that need real class scripts or a real level.
//
// A target is one LLVMFuzzerTestOneInput. Built with clang's libFuzzer it is a fuzzer; built with
// ReplayMain.cpp it replays files (kept crashers and seeds), which the test suite does every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv::fuzz {

// Thrown by the fuzzing fatal handler: a refused input is a clean end, not a fault.
struct Refused {
    std::string Message;
};

// Installs the throwing fatal handler and silences the console log (once per process).
void Setup();

// Runs fn; a fatal error raised inside it ends the run cleanly. Returns false when one did.
template <typename Fn>
bool Guarded(Fn&& fn) {
    Setup();
    try {
        fn();
        return true;
    } catch (const Refused&) {
        return false;
    }
}

// The game tree (the program beside its content): $ORV_FUZZ_GAME_DIR, else the tree of the build
// this target belongs to. Fatal when it is not there.
const std::string& GameDir();

// The engine finds its content from the working directory; libFuzzer's own paths may be relative,
// so a target makes the game tree the working directory only while it runs.
class InGameTree {
public:
    InGameTree();
    ~InGameTree();
    InGameTree(const InGameTree&) = delete;
    InGameTree& operator=(const InGameTree&) = delete;

private:
    std::string previous_;
};

// A folder of this process's own under the system's temporary directory, made on first use and
// removed at exit.
const std::string& ScratchDir();

inline std::string_view AsText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Splits an input into two parts at a length taken from its first two bytes, so one input can
// carry two files.
struct TwoParts {
    std::span<const uint8_t> First, Second;
};
TwoParts SplitInput(const uint8_t* data, size_t size);

} // namespace orv::fuzz
