// The demo-level game copy and its runs.
#include "DemoGame.h"

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace orv::test {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

bool DemoRun::Logged(const std::string& line) const {
    for (const std::string& l : Log) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

std::string DemoRun::ActorLine(const std::string& name) const {
    const std::string key = "\"Name\":\"" + name + "\"";
    for (size_t i = 1; i < Dump.size(); ++i) {
        if (Dump[i].find(key) != std::string::npos) {
            return Dump[i];
        }
    }
    return {};
}

double DemoRun::Number(const std::string& line, const std::string& key) const {
    const std::string pattern = "\"" + key + "\":";
    const size_t at = line.find(pattern);
    return at == std::string::npos ? -1e30 : std::strtod(line.c_str() + at + pattern.size(), nullptr);
}

std::vector<double> DemoRun::Vector3(const std::string& line, const std::string& key) const {
    const std::string pattern = "\"" + key + "\":[";
    const size_t at = line.find(pattern);
    if (at == std::string::npos) {
        return {};
    }
    std::vector<double> v(3);
    const char* p = line.c_str() + at + pattern.size();
    char* end = nullptr;
    for (double& c : v) {
        c = std::strtod(p, &end);
        p = end + 1;
    }
    return v;
}

std::string DemoRun::Text(const std::string& line, const std::string& key) const {
    const std::string pattern = "\"" + key + "\":\"";
    const size_t at = line.find(pattern);
    if (at == std::string::npos) {
        return "<none>";
    }
    const size_t start = at + pattern.size();
    return line.substr(start, line.find('"', start) - start);
}

DemoGame::DemoGame() {
    const fs::path game = GameDir();
    std::error_code ec;
    if (!fs::exists(game / "orvane", ec) || !fs::exists(game / "Maps" / "Demo1.bsp", ec)) {
        return;
    }
    fs::create_hard_link(game / "orvane", dir_.Path() / "orvane", ec);
    if (ec) {
        fs::copy_file(game / "orvane", dir_.Path() / "orvane", ec);
    }
    for (const char* folder : {"System", "Textures", "Sounds", "Music"}) {
        fs::create_directory_symlink(game / folder, dir_.Path() / folder, ec);
    }
    fs::create_directories(dir_.Path() / "Maps");
    for (const auto& entry : fs::directory_iterator(game / "Maps")) {
        fs::copy_file(entry.path(), dir_.Path() / "Maps" / entry.path().filename(), ec);
    }
    // The demo's own settings, in a small window.
    std::string ini = ReadText(game / "Orvane.ini");
    ini = std::regex_replace(ini, std::regex("ScreenWidth=\\d+"), "ScreenWidth=320");
    ini = std::regex_replace(ini, std::regex("ScreenHeight=\\d+"), "ScreenHeight=240");
    WriteText(dir_.Path() / "Orvane.ini", ini);
    ready_ = fs::exists(dir_.Path() / "orvane", ec);
}

void DemoGame::SetPlayerStart(const std::string& level, double x, double y, double z, int yaw) {
    const fs::path path = dir_.Path() / "Maps" / (level + ".t3d");
    std::string text = ReadText(path);
    const size_t start = text.find("Class=PlayerStart");
    const size_t end = text.find("End Actor", start);
    std::string block = text.substr(start, end - start);
    block = std::regex_replace(block, std::regex("Location=\\([^)]*\\)"),
                               "Location=(X=" + std::to_string(x) + ",Y=" + std::to_string(y) + ",Z=" +
                                   std::to_string(z) + ")");
    block = std::regex_replace(block, std::regex("Rotation=\\([^)]*\\)"), "Rotation=(Yaw=" + std::to_string(yaw) + ")");
    text.replace(start, end - start, block);
    WriteText(path, text);
}

void DemoGame::AddActor(const std::string& level, const std::string& block) {
    const fs::path path = dir_.Path() / "Maps" / (level + ".t3d");
    std::string text = ReadText(path);
    const size_t end = text.rfind("End Map");
    text.insert(end, block + "\n");
    WriteText(path, text);
}

DemoRun DemoGame::Run(const std::string& level, int steps, const std::string& script,
                      const std::string& extraArgs) const {
    WriteText(dir_.Path() / "input.txt", script);
    const std::string command = "cd '" + dir_.Path().string() + "' && ./orvane --headless --fixed-step --seed 7 --steps " +
                                std::to_string(steps) + " --input input.txt --dump dump.jsonl " + extraArgs + " 'Maps\\" + level +
                                ".t3d' >out.txt 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    DemoRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Log = Lines(ReadText(dir_.Path() / "out.txt"));
    run.Dump = Lines(ReadText(dir_.Path() / "dump.jsonl"));
    return run;
}

} // namespace orv::test
