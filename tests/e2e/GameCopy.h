// Runs of the real orvane program, headless, on a private copy of the built game tree: the
// program and the generated content are shared, the settings and the levels are the copy's own,
// so a test can write a level, move the player start or add an actor. Every run starts in a work
// folder below the copy, so the program's move to its own folder is exercised too.
#pragma once

#include "content/ImageFile.h"
#include "core/Vfs.h"
#include "support/DumpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

struct ProgramRun {
    int ExitCode = -1;
    std::string Output;             // stdout: the log
    std::string Errors;             // stderr
    std::vector<std::string> Lines; // the log, line by line
    DumpFile Dump;                  // what "--dump dump.jsonl" wrote, when the run asked for it
    bool Logged(const std::string& line) const;
};

// Runs the program with the arguments from the folder work (made if missing).
ProgramRun RunProgram(const std::filesystem::path& program, const std::filesystem::path& work, const std::string& args);

class GameCopy {
public:
    // With the build's demo levels and settings (in a 320 x 240 window), or with neither, for a
    // test that writes its own.
    explicit GameCopy(bool demoLevels = true);
    // False (the test skips) when the program or the demo levels are not built.
    bool Ready() const { return ready_; }
    const std::filesystem::path& Path() const { return dir_.Path(); }
    void Write(const std::string& relative, const std::string& text) const { dir_.Write(relative, text); }
    // Moves the first PlayerStart of Maps\<level>.t3d (and turns it to yaw).
    void SetPlayerStart(const std::string& level, double x, double y, double z, int yaw = 0) const;
    // Adds an actor block to Maps\<level>.t3d.
    void AddActor(const std::string& level, const std::string& block) const;

    ProgramRun Run(const std::string& args) const { return RunProgram(Path() / "orvane", Path() / "work", args); }
    // Maps\<level>.t3d for some fixed steps (seed 7) with an input script ("11 key W down"
    // lines), the state dumped at the end.
    ProgramRun Play(const std::string& level, int steps, const std::string& script = "",
                    const std::string& extraArgs = "") const;

private:
    TempDir dir_;
    bool ready_ = false;
};

#define REQUIRE_PROGRAM(game)                                                              \
    if (!(game).Ready()) {                                                                 \
        GTEST_SKIP() << "the orvane program or the demo levels are not built (game/)";    \
    }

// A picture the program saved; empty when there is none.
Image LoadPicture(const std::filesystem::path& path);

// Channel c of a pixel: 0 red, 1 green, 2 blue.
inline int Channel(uint32_t pixel, int c) { return static_cast<int>(pixel >> (16 - 8 * c) & 0xFF); }

// Pixels of a rectangle that differ by more than the reference tolerance in some channel.
int Differing(const Image& p, const Image& q, int x0, int y0, int x1, int y1);

// Compares with tests/e2e/reference/<name>.png within a tolerance. ORV_UPDATE_REFERENCES=1 writes
// the picture as the new reference instead, after a change that is meant to alter what is drawn.
void ExpectLikeReference(const Image& picture, const std::string& name);

// Maps\<level>.bsp: one floor polygon, 2048 units square at height 0, for levels of a test's own.
void WriteFloorModel(const GameCopy& game, const std::string& level);

} // namespace orv::test
