// The game copy and its runs.
#include "GameCopy.h"

#include "content/LevelModel.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <sys/wait.h>

namespace orv::test {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::string text;
    ReadWholeFile(path.string(), text);
    return text;
}

// A picture a few pixels off here and there is still the same picture: drivers round a little
// differently, but a wrong texture, light, wall or line of text changes far more than this.
constexpr int kChannelTolerance = 48;       // per channel, of 255
constexpr double kDifferingFraction = 0.01; // of the pixels, beyond that tolerance

void EditText(const fs::path& path, const std::function<void(std::string&)>& edit) {
    std::string text = ReadText(path);
    edit(text);
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

bool ProgramRun::Logged(const std::string& line) const { return std::find(Lines.begin(), Lines.end(), line) != Lines.end(); }

ProgramRun RunProgram(const fs::path& program, const fs::path& work, const std::string& args) {
    fs::create_directories(work);
    fs::remove(work / "dump.jsonl");
    const std::string command = "cd '" + work.string() + "' && '" + program.string() + "' " + args + " >stdout.txt 2>stderr.txt </dev/null";
    const int status = std::system(command.c_str());
    InvalidateVfsCache(); // the program wrote files the cached listings do not know
    ProgramRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Output = ReadText(work / "stdout.txt");
    run.Errors = ReadText(work / "stderr.txt");
    run.Lines = SplitLines(run.Output);
    run.Dump = ReadDumpFile(work / "dump.jsonl");
    return run;
}

GameCopy::GameCopy(bool demoLevels) {
    const fs::path game = GameDir();
    std::error_code ec;
    if (!fs::exists(game / "orvane", ec) || (demoLevels && !fs::exists(game / "Maps" / "Demo1.bsp", ec))) {
        return;
    }
    fs::create_hard_link(game / "orvane", Path() / "orvane", ec);
    if (ec) {
        fs::copy_file(game / "orvane", Path() / "orvane", ec);
    }
    for (const char* folder : {"System", "Textures", "Sounds", "Music"}) {
        fs::create_directory_symlink(game / folder, Path() / folder, ec);
    }
    ready_ = fs::exists(Path() / "orvane", ec);
    if (!demoLevels) {
        return;
    }
    fs::create_directories(Path() / "Maps");
    for (const auto& entry : fs::directory_iterator(game / "Maps")) {
        fs::copy_file(entry.path(), Path() / "Maps" / entry.path().filename(), ec);
    }
    std::string ini = ReadText(game / "Orvane.ini");
    ini = std::regex_replace(ini, std::regex("ScreenWidth=\\d+"), "ScreenWidth=320");
    ini = std::regex_replace(ini, std::regex("ScreenHeight=\\d+"), "ScreenHeight=240");
    Write("Orvane.ini", ini);
}

void GameCopy::SetPlayerStart(const std::string& level, double x, double y, double z, int yaw) const {
    EditText(Path() / "Maps" / (level + ".t3d"), [&](std::string& text) {
        const size_t start = text.find("Class=PlayerStart");
        const size_t end = text.find("End Actor", start);
        std::string block = text.substr(start, end - start);
        const std::string location =
            "Location=(X=" + std::to_string(x) + ",Y=" + std::to_string(y) + ",Z=" + std::to_string(z) + ")";
        block = std::regex_replace(block, std::regex("Location=\\([^)]*\\)"), location);
        block = std::regex_replace(block, std::regex("Rotation=\\([^)]*\\)"), "Rotation=(Yaw=" + std::to_string(yaw) + ")");
        text.replace(start, end - start, block);
    });
}

void GameCopy::AddActor(const std::string& level, const std::string& block) const {
    EditText(Path() / "Maps" / (level + ".t3d"), [&](std::string& text) { text.insert(text.rfind("End Map"), block + "\n"); });
}

ProgramRun GameCopy::Play(const std::string& level, int steps, const std::string& script, const std::string& extraArgs) const {
    Write("work/input.txt", script);
    return Run("--headless --fixed-step --seed 7 --steps " + std::to_string(steps) +
               " --input input.txt --dump dump.jsonl " + extraArgs + " 'Maps\\" + level + ".t3d'");
}

Image LoadPicture(const fs::path& path) {
    Image image;
    DecodeImageFile(path.string(), image);
    return image;
}

int Differing(const Image& p, const Image& q, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                worst = std::max(worst, std::abs(Channel(p.At(x, y), c) - Channel(q.At(x, y), c)));
            }
            n += worst > kChannelTolerance;
        }
    }
    return n;
}

void ExpectLikeReference(const Image& p, const std::string& name) {
    const fs::path reference = SourceDir() / "tests" / "e2e" / "reference" / (name + ".png");
    if (std::getenv("ORV_UPDATE_REFERENCES")) {
        WritePngFile(reference.string(), p, false);
        return;
    }
    const Image want = LoadPicture(reference);
    ASSERT_FALSE(want.IsEmpty()) << "no reference picture " << reference << " (ORV_UPDATE_REFERENCES=1 makes it)";
    ASSERT_EQ(want.Width, p.Width);
    ASSERT_EQ(want.Height, p.Height);
    int differing = 0;
    double total = 0;
    for (size_t i = 0; i < p.Pixels.size(); ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(Channel(p.Pixels[i], c) - Channel(want.Pixels[i], c));
            worst = std::max(worst, d);
            total += d;
        }
        differing += worst > kChannelTolerance;
    }
    const double pixels = double(p.Pixels.size());
    EXPECT_LE(differing, pixels * kDifferingFraction)
        << name << ": " << differing << " of " << pixels << " pixels differ by more than " << kChannelTolerance
        << "; mean difference " << total / (pixels * 3);
}

void WriteFloorModel(const GameCopy& game, const std::string& level) {
    LevelModel m;
    m.Points = {{-1024, -1024, 0}, {1024, -1024, 0}, {1024, 1024, 0}, {-1024, 1024, 0}};
    m.VertexPool = {0, 1, 2, 3};
    Surface floor;
    floor.TextureName = "Orvane.Floor.Tiles";
    floor.Normal = {0, 0, -1};
    floor.UAxis = {1, 0, 0};
    floor.VAxis = {0, 1, 0};
    m.Surfaces.Add(floor);
    BspNode node;
    node.NodePlane = {{0, 0, 1}, 0};
    node.Surface = 0;
    node.NumVertices = 4;
    m.Nodes.Add(node);
    const std::vector<uint8_t> bytes = WriteLevelModel(m);
    game.Write("Maps/" + level + ".bsp", std::string(bytes.begin(), bytes.end()));
}

} // namespace orv::test
