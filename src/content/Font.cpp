// Bitmap fonts: texture pages, each with one rectangle per character code.
#include "content/Font.h"

#include "content/Texture.h"
#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"
#include "core/Fatal.h"

#include <algorithm>

namespace orv {

namespace {

// The first field of a .font file; the reader refuses any other.
constexpr int32_t kFontHeader = 16;
// A character: StartU, StartV, USize and VSize, 32 bits each.
constexpr size_t kCharacterSize = 4 * sizeof(int32_t);
// The smallest page record: an empty name's zero byte and the character count.
constexpr size_t kMinPageSize = 1 + 4;

[[noreturn]] void BadHeader(std::string_view path) { FatalError("Bad Font header. (" + std::string(path) + ")"); }

} // namespace

std::vector<uint8_t> WriteFontFile(const std::vector<FontPageFile>& pages) {
    BinaryWriter w;
    w.I32(kFontHeader);
    w.I32(static_cast<int32_t>(pages.size()));
    for (const FontPageFile& page : pages) {
        // A name stops at its first zero byte, as the reader will see it.
        w.String(std::string_view(page.TextureName.c_str()));
        w.I32(static_cast<int32_t>(page.Characters.size()));
        for (const FontCharacter& c : page.Characters) {
            w.I32(c.StartU);
            w.I32(c.StartV);
            w.I32(c.USize);
            w.I32(c.VSize);
        }
    }
    return w.Take();
}

std::unique_ptr<Font> ReadFont(Resources& res, BinaryReader& reader) {
    if (reader.I32() != kFontHeader) {
        BadHeader(reader.Name());
    }
    auto font = std::make_unique<Font>();
    const size_t countOffset = reader.Offset();
    const int32_t pageCount = reader.I32();
    if (pageCount > 0 && static_cast<uint64_t>(pageCount) * kMinPageSize > reader.Remaining()) {
        reader.FailTruncated(countOffset);
    }
    font->Pages.Resize(std::max(pageCount, 0));
    for (FontPage& page : font->Pages) {
        const std::string name = reader.String();
        page.PageTexture = name.empty() ? GetFallbackTexture(res) : LoadTexture(res, name, false, {}, true);
        const int32_t count = reader.Count(kCharacterSize);
        page.Characters.Resize(count);
        for (FontCharacter& c : page.Characters) {
            c.StartU = reader.I32();
            c.StartV = reader.I32();
            c.USize = reader.I32();
            c.VSize = reader.I32();
            font->Height = std::max(font->Height, c.VSize);
        }
    }
    return font;
}

std::unique_ptr<Font> LoadFont(Resources& res, std::string_view path) {
    std::optional<BinaryReader> reader = BinaryReader::OpenFile(path);
    if (!reader) {
        BadHeader(path);
    }
    return ReadFont(res, *reader);
}

} // namespace orv
