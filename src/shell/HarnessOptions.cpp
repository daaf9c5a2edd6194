// Command-line parsing.
#include "shell/HarnessOptions.h"

#include <charconv>
#include <filesystem>

namespace orv {

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

std::string Anchored(const std::string& path, const std::string& folder) {
    if (path.empty()) {
        return path;
    }
    const std::filesystem::path p(path);
    return p.is_absolute() ? path : (std::filesystem::path(folder) / p).lexically_normal().string();
}

} // namespace

std::string UsageText() {
    return "Usage: orvane [options] [level]\n"
           "  level                 the level to play (a .t3d path from the program's folder);\n"
           "                        without it, Maps\\<InitialLevel>.t3d from the settings\n"
           "Options:\n"
           "  --headless            no window on screen (offscreen drawing) and no sound output\n"
           "  --steps N             end after N simulation steps\n"
           "  --fixed-step          one step and one frame per pass: a reproducible run\n"
           "  --seed N              seed the random generator with N instead of the clock\n"
           "  --input FILE          scripted keys and mouse instead of the real devices\n"
           "  --screenshot-at N     screenshot after the frame that follows step N (repeatable)\n"
           "  --dump FILE           write the engine state as JSON lines at exit\n"
           "  --config FILE         settings file instead of Orvane.ini\n"
           "  --log FILE            also write the console log to FILE\n"
           "  --sound-log FILE      write each sound the world asks for (step, actor, sound, volume)\n"
           "  --audio-out FILE.wav  mix all sound and music into FILE.wav (44100 Hz, 16-bit stereo) instead\n"
           "                        of the speakers; the same file on every --fixed-step run\n"
           "  --timedemo            print frames, milliseconds per frame and steps per second at exit\n"
           "  --help                show this text\n"
           "  --version             show the version\n";
}

bool ParseHarnessOptions(const std::vector<std::string>& args, HarnessOptions& options, std::string& error) {
    options = HarnessOptions();
    bool haveLevel = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!haveLevel) {
                options.LevelPath = arg;
                haveLevel = true;
            }
            continue; // further arguments are ignored
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto value = [&](std::string& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto flag = [&](bool& out) {
            if (inlineValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            out = true;
            return true;
        };
        // A whole number from 0 up (the unsigned seed refuses a sign by itself).
        auto number = [&](auto& out) {
            std::string text;
            if (!value(text)) {
                return false;
            }
            if (!ParseNumber(text, out) || out < 0) {
                error = "option " + name + " needs a whole number, not \"" + text + "\"";
                return false;
            }
            return true;
        };

        bool ok = true;
        if (name == "--headless") {
            ok = flag(options.Headless);
        } else if (name == "--fixed-step") {
            ok = flag(options.FixedStep);
        } else if (name == "--timedemo") {
            ok = flag(options.Timedemo);
        } else if (name == "--help") {
            ok = flag(options.Help);
        } else if (name == "--version") {
            ok = flag(options.Version);
        } else if (name == "--steps") {
            int64_t n = 0;
            ok = number(n);
            options.Steps = n;
        } else if (name == "--screenshot-at") {
            int64_t n = 0;
            ok = number(n);
            options.ScreenshotSteps.push_back(n);
        } else if (name == "--seed") {
            uint64_t seed = 0;
            ok = number(seed);
            options.Seed = seed;
        } else if (name == "--input") {
            ok = value(options.InputScript);
        } else if (name == "--dump") {
            ok = value(options.DumpFile);
        } else if (name == "--config") {
            ok = value(options.ConfigFile);
        } else if (name == "--log") {
            ok = value(options.LogFile);
        } else if (name == "--sound-log") {
            ok = value(options.SoundLog);
        } else if (name == "--audio-out") {
            ok = value(options.AudioOut);
        } else {
            error = "unknown option " + name;
            ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

void AnchorHarnessPaths(HarnessOptions& options, const std::string& folder) {
    options.ConfigFile = Anchored(options.ConfigFile, folder);
    options.InputScript = Anchored(options.InputScript, folder);
    options.DumpFile = Anchored(options.DumpFile, folder);
    options.LogFile = Anchored(options.LogFile, folder);
    options.SoundLog = Anchored(options.SoundLog, folder);
    options.AudioOut = Anchored(options.AudioOut, folder);
}

} // namespace orv
