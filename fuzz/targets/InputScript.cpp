// An input script: parsed, then every event applied to an input state step by step.
#include "FuzzSupport.h"

#include "core/InputState.h"
#include "shell/InputScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    fuzz::Guarded([&] {
        InputScript script(ParseInputScript(fuzz::AsText(data, size), "Fuzz.txt"));
        InputState input;
        input.SetMouseArea(640, 480);
        for (int64_t step = 1; step < 1000 && !script.Finished(); ++step) {
            script.ApplyDue(step, input);
            input.EndStep();
        }
    });
    return 0;
}
