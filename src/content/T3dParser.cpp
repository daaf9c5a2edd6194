// The T3D line classifier.
#include "content/T3dParser.h"

#include "core/Fatal.h"
#include "core/Log.h"
#include "core/Numbers.h"
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
    Parser(std::string_view fileName, T3dSink& sink) : fileName_(fileName), sink_(sink) {}

    void Line(std::string_view raw, int number);

private:
    // The structural errors' texts do not name the place, so a log line does first.
    [[noreturn]] void Fail(std::string_view message, int number, std::string_view line) const {
        Log("In " + std::string(fileName_) + ", line " + std::to_string(number) + ": " + std::string(line));
        FatalError(std::string(message));
    }
    [[noreturn]] void BadLine(int number, std::string_view line) const {
        FatalError("Parse error: bad line " + std::to_string(number) + " of " + std::string(fileName_) + ": " +
                   std::string(line));
    }

    void BeginActor(std::string_view line, int number);
    void BeginPolygon(std::string_view line, int number);
    void PolygonLine(std::string_view line, int number);
    Vector VectorOf(std::string_view line, int number) const {
        Vector v;
        if (ParseVectorLine(line, v) < 3) {
            BadLine(number, line);
        }
        return ClampToWorld(v);
    }

    std::string_view fileName_;
    T3dSink& sink_;
    bool inActor_ = false;
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
            sink_.PropertyAt(line.substr(0, equals), line.substr(equals + 1), number);
        }
        return;
    }
    if (inActor_ && SameText(line, "end actor")) {
        inActor_ = false;
        sink_.EndActor();
        return;
    }
    if (StartsWithText(line, "begin polygon")) {
        BeginPolygon(line, number);
        return;
    }
    if (!inPolygon_) {
        if (SameText(line, "end polygon")) {
            Fail("Parse error: 'End Polygon' without matching 'Begin Polygon'", number, line);
        }
        return;
    }
    PolygonLine(line, number);
}

void Parser::BeginActor(std::string_view line, int number) {
    if (inActor_) {
        Fail("Parse error: 'Begin Actor' in the middle of another actor.", number, line);
    }
    if (FindText(line, "name=") == std::string_view::npos) {
        BadLine(number, line);
    }
    inActor_ = true;
    sink_.BeginActor(TextBetween(line, "class=", kBlanks), TextAfter(line, "name="), number);
}

void Parser::BeginPolygon(std::string_view line, int number) {
    if (inPolygon_) {
        Fail("Parse error: 'Begin Polygon' in the middle of another polygon", number, line);
    }
    polygon_ = T3dPolygon();
    polygon_.Line = number;
    if (FindText(line, "texture=") != std::string_view::npos) {
        polygon_.TextureName = std::string(TextBetween(line, "Texture=", kBlanks));
    }
    if (FindText(line, "flags=") != std::string_view::npos) {
        polygon_.Flags = ParseT3dFlags(TextBetween(line, "Flags=", kBlanks));
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
        if (inActor_) {
            sink_.Polygon(std::move(polygon_));
        }
    }
}

} // namespace

uint32_t ParseT3dFlags(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    // Arithmetic modulo 2^32: the bits of any integer's two's complement, whichever way it is written.
    uint32_t bits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        bits = bits * 10u + static_cast<uint32_t>(text[i] - '0');
    }
    return negative ? 0u - bits : bits;
}

void ParseT3DText(std::string_view fileName, std::string_view text, T3dSink& sink) {
    Parser parser(fileName, sink);
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
}

void ParseT3D(std::string_view path, T3dSink& sink) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        FatalError("Can't load level \"" + std::string(path) + "\": file not found.");
    }
    ParseT3DText(path, text, sink);
}

} // namespace orv
