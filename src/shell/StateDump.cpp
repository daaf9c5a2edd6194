// JSON Lines state dump, written with the same JSON writer as the actor lines.
#include "shell/StateDump.h"

#include "core/JsonLine.h"
#include "world/ActorDump.h"
#include "world/World.h"

#include <cstdio>

namespace orv {

namespace {

std::string JsonTextArray(const std::vector<std::string>& texts) {
    std::string json = "[";
    for (const std::string& text : texts) {
        json += (json.size() > 1 ? "," : "") + JsonLine::Quote(text);
    }
    return json + "]";
}

} // namespace

std::string EngineStateLine(const World& world, MenuState menu, int64_t steps, const ScreenDump* screen) {
    JsonLine line;
    line.Add("MenuState", static_cast<int32_t>(menu));
    line.Add("GameTime", world.GameTime);
    line.Add("Steps", steps);
    line.Add("Level", world.CurrentLevel.Name);
    line.Add("PendingLevel", world.PendingLevel);
    line.Add("HudMessage", world.HudMessage);
    line.Add("HudMessageTime", world.HudMessageTime);
    line.Add("TranslatorText", world.TranslatorText);
    line.Add("LevelIntroTime", world.LevelIntroTime);
    if (screen) {
        line.Add("MenuSelection", screen->MenuSelection);
        line.AddRaw("MenuItems", JsonTextArray(screen->MenuItems));
        line.AddRaw("ScreenText", JsonTextArray(screen->ScreenText));
    }
    return line.Finish();
}

std::string StateDumpText(const World& world, MenuState menu, int64_t steps, const ScreenDump* screen) {
    std::string text = EngineStateLine(world, menu, steps, screen) + "\n";
    for (int i = 0; i < world.Actors.Num(); ++i) {
        text += DumpActorJson(*world.Actors[i], i);
        text += '\n';
    }
    return text;
}

bool WriteStateDump(const std::string& path, const World& world, MenuState menu, int64_t steps,
                    const ScreenDump* screen) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const std::string text = StateDumpText(world, menu, steps, screen);
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace orv
