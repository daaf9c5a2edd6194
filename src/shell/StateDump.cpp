// JSON Lines state dump.
#include "shell/StateDump.h"

#include "world/ActorDump.h"

#include "shell/Engine.h"

#include <cmath>
#include <cstdio>

namespace orv {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    out += '"';
    return out;
}

std::string JsonDouble(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string JsonFloat(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string EngineStateLine(const Engine& engine) {
    std::string line = "{";
    line += "\"MenuState\":" + std::to_string(static_cast<int32_t>(engine.Menu));
    line += ",\"GameTime\":" + JsonDouble(engine.GameWorld.GameTime);
    line += ",\"Steps\":" + std::to_string(engine.Steps);
    line += ",\"Level\":" + JsonString(engine.GameWorld.CurrentLevel.Name);
    line += ",\"PendingLevel\":" + JsonString(engine.GameWorld.PendingLevel);
    line += ",\"HudMessage\":" + JsonString(engine.GameWorld.HudMessage);
    line += ",\"HudMessageTime\":" + JsonFloat(engine.GameWorld.HudMessageTime);
    line += ",\"TranslatorText\":" + JsonString(engine.GameWorld.TranslatorText);
    line += ",\"LevelIntroTime\":" + JsonFloat(engine.GameWorld.LevelIntroTime);
    line += "}";
    return line;
}

void AppendActorLines(const Engine& engine, std::string& out) {
    const Array<std::unique_ptr<Actor>>& actors = engine.GameWorld.Actors;
    for (int i = 0; i < actors.Num(); ++i) {
        out += DumpActorJson(*actors[i], i);
        out += '\n';
    }
}

std::string StateDumpText(const Engine& engine) {
    std::string text = EngineStateLine(engine) + "\n";
    AppendActorLines(engine, text);
    return text;
}

bool WriteStateDump(const Engine& engine, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const std::string text = StateDumpText(engine);
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace orv
