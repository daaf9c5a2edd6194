// The T3D line classifier.
#include "content/T3dParser.h"

#include "core/Fatal.h"
#include "core/Text.h"
#include "core/Vfs.h"

#include <algorithm>
#include <string>

namespace orv {

namespace {

constexpr std::string_view kBlanks = " \t";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimTabsAndSpaces(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

class Parser {
public:
    Parser(std::string_view fileName, T3dSink& sink, const TextureResolver& resolve)
        : fileName_(fileName), sink_(sink), resolve_(resolve) {}

    void Line(std::string_view raw, int number);
    void Finish() {}

private:
    [[noreturn]] void BadLine(int number, std::string_view line) const {
        FatalError("Parse error: bad line " + std::to_string(number) + " of " + std::string(fileName_) + ": " +
                   std::string(line));
    }

    void BeginActor(std::string_view line, int number);
    void BeginPolygon(std::string_view line);
    void PolygonLine(std::string_view line, int number);
    Vector VectorOf(std::string_view line, int number) const {
        Vector v;
        if (ParseVectorLine(line, v) < 3) {
            BadLine(number, line);
        }
        return v;
    }

    std::string_view fileName_;
    T3dSink& sink_;
    const TextureResolver& resolve_;
    bool inActor_ = false;
    bool brushBlock_ = false;
    bool inPolygon_ = false;
    T3dPolygon polygon_;
};

void Parser::Line(std::string_view raw, int number) {
    std::string_view line = TrimTabsAndSpaces(raw);
    if (!line.empty() && line.front() == ';') {
        return;
    }
    // A tab where a keyword has its space reads as the space (values after "=" keep theirs).
    std::string spaced;
    const size_t keywordEnd = std::min(line.find('='), line.size());
    if (line.substr(0, keywordEnd).find('\t') != std::string_view::npos) {
        spaced.assign(line);
        std::replace(spaced.begin(), spaced.begin() + static_cast<std::ptrdiff_t>(keywordEnd), '\t', ' ');
        line = spaced;
    }
    if (StartsWithText(line, "begin actor")) {
        BeginActor(line, number);
        return;
    }
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && line.substr(0, equals).find_first_of(kBlanks) == std::string_view::npos) {
        if (inActor_) {
            sink_.Property(line.substr(0, equals), line.substr(equals + 1));
        }
        return;
    }
    if (inActor_ && SameText(line, "end actor")) {
        inActor_ = false;
        sink_.EndActor();
        return;
    }
    if (StartsWithText(line, "begin polygon")) {
        BeginPolygon(line);
        return;
    }
    if (!inPolygon_) {
        if (SameText(line, "end polygon")) {
            FatalError("Parse error: 'End Polygon' without matching 'Begin Polygon'");
        }
        return;
    }
    PolygonLine(line, number);
}

void Parser::BeginActor(std::string_view line, int number) {
    if (inActor_) {
        FatalError("Parse error: 'Begin Actor' in the middle of another actor.");
    }
    const std::string_view className = TextBetween(line, "class=", kBlanks);
    if (FindText(line, "name=") == std::string_view::npos) {
        BadLine(number, line);
    }
    const std::string_view name = TextAfter(line, "name=");
    inActor_ = true;
    brushBlock_ = SameText(className, "Brush");
    sink_.BeginActor(className, name);
}

void Parser::BeginPolygon(std::string_view line) {
    if (inPolygon_) {
        FatalError("Parse error: 'Begin Polygon' in the middle of another polygon");
    }
    polygon_ = T3dPolygon();
    if (FindText(line, "texture=") != std::string_view::npos) {
        const std::string_view name = TextBetween(line, "Texture=", kBlanks);
        polygon_.Tex = resolve_ ? resolve_(name) : nullptr;
    }
    if (FindText(line, "flags=") != std::string_view::npos) {
        polygon_.Flags = static_cast<uint32_t>(ParseInt(TextBetween(line, "Flags=", kBlanks)));
    }
    inPolygon_ = true;
}

void Parser::PolygonLine(std::string_view line, int number) {
    if (StartsWithText(line, "origin")) {
        polygon_.Origin = VectorOf(line, number);
    } else if (StartsWithText(line, "normal")) {
        polygon_.Normal = VectorOf(line, number);
    } else if (StartsWithText(line, "textureu")) {
        polygon_.TextureU = VectorOf(line, number);
    } else if (StartsWithText(line, "texturev")) {
        polygon_.TextureV = VectorOf(line, number);
    } else if (StartsWithText(line, "pan")) {
        polygon_.PanU = ParseInt(TextBetween(line, "u=", kBlanks));
        polygon_.PanV = ParseInt(TextAfter(line, "v="));
    } else if (StartsWithText(line, "vertex")) {
        polygon_.Vertices.Add(VectorOf(line, number));
    } else if (SameText(line, "end polygon")) {
        inPolygon_ = false;
        const bool dropped = (polygon_.Flags & PF_FakeBackdrop) != 0 || brushBlock_;
        if (!dropped && inActor_) {
            sink_.Polygon(polygon_);
        }
    }
}

} // namespace

void ParseT3DText(std::string_view fileName, std::string_view text, T3dSink& sink, const TextureResolver& resolve) {
    Parser parser(fileName, sink, resolve);
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++number;
        parser.Line(text.substr(start, end - start), number);
        start = end + 1;
    }
    parser.Finish();
}

void ParseT3D(std::string_view path, T3dSink& sink, const TextureResolver& resolve) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        FatalError("Can't load level \"" + std::string(path) + "\": file not found.");
    }
    ParseT3DText(path, text, sink, resolve);
}

} // namespace orv
