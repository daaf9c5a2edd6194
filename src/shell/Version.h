// The program's name, version and build time, for the banner and --version.
#pragma once

#include <string>

namespace orv {

std::string BannerLine();
std::string VersionText();
// "Compiled YYYY-MM-DD HH:MM:SS", the main menu's build stamp.
std::string BuildStamp();

} // namespace orv
