// Banner text with the build time.
#include "shell/Version.h"

#include <cstdio>
#include <cstring>

namespace orv {

namespace {

// __DATE__ ("Sep 17 2021") as "2021-09-17".
std::string BuildDate() {
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const char* date = __DATE__;
    const char* found = std::strstr(kMonths, std::string(date, 3).c_str());
    const int month = found ? static_cast<int>(found - kMonths) / 3 + 1 : 0;
    int day = 0, year = 0;
    std::sscanf(date + 3, "%d %d", &day, &year);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

} // namespace

std::string BannerLine() { return std::string("Orvane ") + ORV_VERSION + ", compiled " + BuildDate() + " " + __TIME__; }

std::string BuildStamp() { return "Compiled " + BuildDate() + " " + __TIME__; }

std::string VersionText() { return std::string("orvane ") + ORV_VERSION; }

} // namespace orv
