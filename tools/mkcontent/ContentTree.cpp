// Running the generators and copying the authored sources.
#include "ContentTree.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

namespace orv {
namespace {

// Copies every file under the source folder to the same place in the tree.
void CopyAuthoredSources(GeneratorContext& context) {
    std::error_code error;
    if (!std::filesystem::is_directory(context.SourceDir, error)) {
        context.Out.Fail("content sources not found: " + context.SourceDir.string());
        return;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(context.SourceDir, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in && !in.eof()) {
            context.Out.Fail("cannot read " + path.string());
            continue;
        }
        context.Out.WriteBytes(std::filesystem::relative(path, context.SourceDir).generic_string(), bytes);
    }
    // Folders the player lists even while they are empty.
    context.Out.MakeDirectory("Maps");
    context.Out.MakeDirectory("Music");
}

struct PartName {
    const char* Name;
    ContentPart Part;
};

constexpr PartName kPartNames[] = {{"authored", kPartAuthored}, {"engine", kPartEngineTextures},
                                   {"fonts", kPartFonts},       {"effects", kPartEffects},
                                   {"world", kPartWorldTextures}, {"meshes", kPartMeshes},
                                   {"sounds", kPartSounds},     {"music", kPartMusic}};

} // namespace

unsigned ParseContentParts(std::string_view list) {
    unsigned parts = 0;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        bool known = false;
        for (const PartName& part : kPartNames) {
            if (name == part.Name) {
                parts |= part.Part;
                known = true;
            }
        }
        if (!known) {
            return 0;
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return parts;
}

std::string ContentPartNames() {
    std::string names;
    for (const PartName& part : kPartNames) {
        names += names.empty() ? "" : ", ";
        names += part.Name;
    }
    return names;
}

std::vector<ContentJob> AllContentJobs() {
    std::vector<ContentJob> jobs;
    jobs.push_back({"authored sources", kPartAuthored, CopyAuthoredSources});
    AddEngineTextureJobs(jobs);
    AddFontJobs(jobs);
    AddEffectJobs(jobs);
    AddWorldTextureJobs(jobs);
    AddMeshJobs(jobs);
    AddSoundJobs(jobs);
    AddMusicJobs(jobs);
    return jobs;
}

std::vector<std::string> GenerateContent(const ContentOptions& options) {
    OutputTree out(options.OutDir);
    if (!out.MakeDirectory("")) {
        return out.Errors();
    }
    TrueTypeFont sans, sansBold;
    std::string error;
    if (!sans.Load(FindDejaVuFont(false), error) || !sansBold.Load(FindDejaVuFont(true), error)) {
        return {error + " (install fonts-dejavu-core)"};
    }

    std::vector<ContentJob> jobs;
    for (ContentJob& job : AllContentJobs()) {
        if (job.Part & options.Parts) {
            jobs.push_back(std::move(job));
        }
    }

    std::atomic<size_t> next{0};
    std::mutex progressLock;
    auto worker = [&] {
        GeneratorContext context{out, options.SourceDir, sans, sansBold};
        for (size_t i = next++; i < jobs.size(); i = next++) {
            if (options.Progress) {
                std::lock_guard guard(progressLock);
                options.Progress("Generating " + jobs[i].Name + "...");
            }
            jobs[i].Run(context);
        }
    };
    const int threads = std::max(1, options.Threads);
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) {
        pool.emplace_back(worker);
    }
    worker();
    for (std::thread& thread : pool) {
        thread.join();
    }
    return out.Errors();
}

} // namespace orv
