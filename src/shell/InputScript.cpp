// Input script reading.
#include "shell/InputScript.h"

#include "core/Fatal.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <algorithm>
#include <charconv>

namespace orv {

namespace {

struct NamedKey {
    const char* Name;
    int Scancode;
};

constexpr NamedKey kScriptKeys[] = {
    {"Escape", kKeyEscape}, {"Enter", kKeyEnter}, {"Up", kKeyUp},     {"Down", kKeyDown},
    {"Left", kKeyLeft},     {"Right", kKeyRight}, {"W", kKeyW},       {"A", kKeyA},
    {"S", kKeyS},           {"D", kKeyD},         {"Space", kKeySpace}, {"Ctrl", kKeyCtrl},
    {"F", kKeyF},           {"G", kKeyG},         {"N", kKeyN},       {"M", kKeyM},
    {"End", kKeyEnd},       {"PageDown", kKeyPageDown}, {"Delete", kKeyDelete}, {"F1", kKeyF1},
    {"F9", kKeyF9},
};

template <typename T>
bool ParseWhole(std::string_view text, T& value, int base = 10) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [end, ec] = std::from_chars(first, last, value, base);
    return ec == std::errc() && end == last && first != last;
}

bool ParseKeyCode(std::string_view text, int& scancode) {
    int value = 0;
    bool ok;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        ok = ParseWhole(text.substr(2), value, 16);
    } else if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        ok = ParseWhole(text, value);
    } else {
        value = ScriptKeyByName(text);
        ok = value >= 0;
    }
    if (!ok || value < 0 || value >= InputState::kNumScancodes) {
        return false;
    }
    scancode = value;
    return true;
}

bool ParseUpDown(std::string_view text, bool& down) {
    if (SameText(text, "down")) {
        down = true;
        return true;
    }
    if (SameText(text, "up")) {
        down = false;
        return true;
    }
    return false;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

// Every event line has four words: the step, the kind and the kind's two values.
constexpr size_t kEventWords = 4;

// Reads one line into an event; returns the reason when it is malformed.
std::string ParseEventLine(const std::vector<std::string_view>& words, InputEvent& event) {
    if (words.size() < 2) { // a step and a kind at least
        return "expected a step number and an event";
    }
    if (!ParseWhole(words[0], event.Step) || event.Step < 1) {
        return "the step must be a whole number from 1 up";
    }
    const std::string_view kind = words[1];
    if (SameText(kind, "key")) {
        event.Type = InputEvent::Kind::Key;
        if (words.size() != kEventWords) {
            return "expected: STEP key KEY down|up";
        }
        if (!ParseKeyCode(words[2], event.Scancode)) {
            return "unknown key \"" + std::string(words[2]) + "\"";
        }
        if (!ParseUpDown(words[3], event.Down)) {
            return "expected down or up";
        }
        return {};
    }
    if (SameText(kind, "mouse")) {
        event.Type = InputEvent::Kind::Mouse;
        if (words.size() != kEventWords) {
            return "expected: STEP mouse DX DY";
        }
        if (!ParseWhole(words[2], event.Dx) || !ParseWhole(words[3], event.Dy)) {
            return "the mouse motion must be two whole numbers";
        }
        return {};
    }
    if (SameText(kind, "button")) {
        event.Type = InputEvent::Kind::Button;
        if (words.size() != kEventWords) {
            return "expected: STEP button left|right|middle down|up";
        }
        if (SameText(words[2], "left")) {
            event.Button = MouseButton::Left;
        } else if (SameText(words[2], "right")) {
            event.Button = MouseButton::Right;
        } else if (SameText(words[2], "middle")) {
            event.Button = MouseButton::Middle;
        } else {
            return "unknown button \"" + std::string(words[2]) + "\"";
        }
        if (!ParseUpDown(words[3], event.Down)) {
            return "expected down or up";
        }
        return {};
    }
    return "unknown event \"" + std::string(kind) + "\"";
}

} // namespace

int ScriptKeyByName(std::string_view name) {
    for (const NamedKey& key : kScriptKeys) {
        if (name.size() == std::string_view(key.Name).size() && ToLowerAscii(name) == ToLowerAscii(key.Name)) {
            return key.Scancode;
        }
    }
    return -1;
}

std::vector<InputEvent> ParseInputScript(std::string_view text, std::string_view fileName) {
    std::vector<InputEvent> events;
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const std::vector<std::string_view> words = Words(line);
        if (words.empty()) {
            continue;
        }
        InputEvent event;
        event.Line = static_cast<int>(i + 1);
        const std::string reason = ParseEventLine(words, event);
        if (!reason.empty()) {
            FatalError("Bad line in input script \"" + std::string(fileName) + "\", line " + std::to_string(i + 1) +
                       ": " + reason + ".");
        }
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.Step < b.Step; });
    return events;
}

void ApplyInputEvent(const InputEvent& event, InputState& input) {
    switch (event.Type) {
    case InputEvent::Kind::Key:
        input.SetKey(event.Scancode, event.Down);
        break;
    case InputEvent::Kind::Mouse:
        input.MoveMouse(event.Dx, event.Dy);
        break;
    case InputEvent::Kind::Button:
        input.SetButton(event.Button, event.Down);
        break;
    }
}

InputScript InputScript::Load(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        FatalError("Can't open input script \"" + path + "\".");
    }
    return InputScript(ParseInputScript(text, path));
}

void InputScript::ApplyDue(int64_t step, InputState& input) {
    while (next_ < events_.size() && events_[next_].Step <= step) {
        ApplyInputEvent(events_[next_], input);
        ++next_;
    }
}

} // namespace orv
