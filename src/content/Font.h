// Fonts: pages of character rectangles over textures, read from the engine's ".font" files, and
// the writer tools and tests make them with.
#pragma once

#include "core/Array.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class BinaryReader;
struct Resources;
struct Texture;

struct FontCharacter {
    int32_t StartU = 0;
    int32_t StartV = 0;
    int32_t USize = 0;
    int32_t VSize = 0;
};

struct FontPage {
    Texture* PageTexture = nullptr;
    Array<FontCharacter> Characters; // one per character code, from 0
};

struct Font {
    Array<FontPage> Pages;
    int32_t Height = 0; // largest VSize of any character; 0 when there are none
};

struct FontPageFile {
    std::string TextureName;
    std::vector<FontCharacter> Characters;
};

std::vector<uint8_t> WriteFontFile(const std::vector<FontPageFile>& pages);
// Reads a font; a wrong header (or a missing file) is fatal: Bad Font header. (PATH)
std::unique_ptr<Font> LoadFont(Resources& res, std::string_view path);
// The same over bytes already read; the reader's name stands for the path.
std::unique_ptr<Font> ReadFont(Resources& res, BinaryReader& reader);

} // namespace orv
