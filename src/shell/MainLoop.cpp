// The catch-up pass.
#include "shell/MainLoop.h"

namespace orv {

int RunCatchUpPass(LoopClock& clock, double now, const std::function<bool()>& step, const std::function<void()>& frame) {
    const double elapsed = now - clock.Start;
    int steps = 0;
    while (clock.Simulated < elapsed) {
        if (!step()) {
            break;
        }
        clock.Simulated += kStepSeconds;
        ++steps;
    }
    frame();
    return steps;
}

} // namespace orv
