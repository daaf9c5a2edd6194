// Scripted input for reproducible runs: key, mouse-motion and button events by simulation step,
// read from a text file and fed to the input state in place of the real devices.
//
//   # comment                 (a "#" starts a comment anywhere; blank lines are skipped)
//   STEP key KEY down|up      KEY: a set-1 number (decimal or 0x..) or a key name
//   STEP mouse DX DY
//   STEP button left|right|middle down|up
//
// An event of STEP takes effect before simulation step STEP runs; the first step is 1.
#pragma once

#include "core/InputState.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct InputEvent {
    enum class Kind { Key, Mouse, Button };
    int64_t Step = 0;
    Kind Type = Kind::Key;
    int Scancode = 0;                      // Key
    bool Down = false;                     // Key, Button
    MouseButton Button = MouseButton::Left; // Button
    int Dx = 0;                            // Mouse
    int Dy = 0;
    int Line = 0; // line number in the script, for messages
};

// The set-1 scancode of a key name the scripts may use (Escape Enter Up Down Left Right W A S D
// Space Ctrl F G N M End PageDown Delete F1 F9, any letter case), or -1.
int ScriptKeyByName(std::string_view name);

// Parses a whole script; a malformed line is fatal, naming the file and the line number.
// Events come back ordered by step, in file order within a step.
std::vector<InputEvent> ParseInputScript(std::string_view text, std::string_view fileName);

void ApplyInputEvent(const InputEvent& event, InputState& input);

class InputScript {
public:
    InputScript() = default;
    explicit InputScript(std::vector<InputEvent> events) : events_(std::move(events)) {}

    // Reads and parses the file; a missing file is fatal.
    static InputScript Load(const std::string& path);

    // Applies every event not yet applied whose step is at most the given step.
    void ApplyDue(int64_t step, InputState& input);
    bool Finished() const { return next_ >= events_.size(); }

private:
    std::vector<InputEvent> events_;
    size_t next_ = 0;
};

} // namespace orv
