// A private copy of the built game tree for end-to-end runs of the real program on the demo
// levels: the program and the generated content are shared, the levels are copied so a test can
// move the player start, and every run is headless with fixed steps.
#pragma once

#include "support/TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

struct DemoRun {
    int ExitCode = -1;
    std::vector<std::string> Log;       // the program's output lines
    std::vector<std::string> Dump;      // the --dump lines: engine state first, then every actor
    bool Logged(const std::string& line) const;
    // The dump line of the first actor with this name ("Player" for the player), or empty.
    std::string ActorLine(const std::string& name) const;
    // A number, or the three numbers of a vector, from a dump line.
    double Number(const std::string& line, const std::string& key) const;
    std::vector<double> Vector3(const std::string& line, const std::string& key) const;
    std::string Text(const std::string& line, const std::string& key) const;
};

class DemoGame {
public:
    DemoGame();
    // False (and the test should skip) when the program or the demo levels are not built.
    bool Ready() const { return ready_; }
    // Moves the first PlayerStart of a copied level (and turns it to yaw).
    void SetPlayerStart(const std::string& level, double x, double y, double z, int yaw = 0);
    // Adds lines to an actor block of a copied level, after its "Begin Actor" line.
    void AddActor(const std::string& level, const std::string& block);
    // Runs Maps\<level>.t3d for the given steps with an input script ("STEP key W down" lines).
    DemoRun Run(const std::string& level, int steps, const std::string& script = "",
                const std::string& extraArgs = "") const;
    const std::filesystem::path& Path() const { return dir_.Path(); }

private:
    TempDir dir_;
    bool ready_ = false;
};

} // namespace orv::test
