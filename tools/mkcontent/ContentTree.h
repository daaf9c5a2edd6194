// The whole demo-content tree: which generators exist, running them (on several threads, with
// output that never depends on the schedule) and copying the authored text sources.
#pragma once

#include "GenCommon.h"
#include "TrueType.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orv {

// Parts of the tree, so tests can make only what they look at.
enum ContentPart : unsigned {
    kPartAuthored = 1u << 0,       // Orvane.ini, class scripts and other text copied from the sources
    kPartEngineTextures = 1u << 1, // Zelkor: fallback texture, logo, projectile, caustics
    kPartFonts = 1u << 2,
    kPartEffects = 1u << 3,        // explosion and shot sprites
    kPartWorldTextures = 1u << 4,  // Orvane world textures, fire and water
    kPartMeshes = 1u << 5,         // creature and pickup meshes with their skins
    kPartSounds = 1u << 6,
    kPartMusic = 1u << 7,
    kPartAll = 0xFFu,
};

// What every generator may read while it writes its files.
struct GeneratorContext {
    OutputTree& Out;
    std::filesystem::path SourceDir;
    const TrueTypeFont& Sans;
    const TrueTypeFont& SansBold;
};

struct ContentJob {
    std::string Name;
    unsigned Part = 0;
    std::function<void(GeneratorContext&)> Run;
};

struct ContentOptions {
    std::filesystem::path OutDir;
    std::filesystem::path SourceDir;
    unsigned Parts = kPartAll;
    int Threads = 2;
    std::function<void(const std::string& line)> Progress; // may be empty
};

// "fonts,sounds" to the part bits; 0 when a name is unknown.
unsigned ParseContentParts(std::string_view list);
std::string ContentPartNames();

// Every generator of the tree, in a fixed order.
std::vector<ContentJob> AllContentJobs();

// Makes the tree; returns the errors (empty on success).
std::vector<std::string> GenerateContent(const ContentOptions& options);

// The job lists of each generator file.
void AddEngineTextureJobs(std::vector<ContentJob>& jobs);
void AddFontJobs(std::vector<ContentJob>& jobs);
void AddEffectJobs(std::vector<ContentJob>& jobs);
void AddWorldTextureJobs(std::vector<ContentJob>& jobs);
void AddProceduralTextureJobs(std::vector<ContentJob>& jobs);
void AddMeshJobs(std::vector<ContentJob>& jobs);
void AddSoundJobs(std::vector<ContentJob>& jobs);
void AddMusicJobs(std::vector<ContentJob>& jobs);

} // namespace orv
