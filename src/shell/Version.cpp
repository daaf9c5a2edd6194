// Banner text with the build time.
#include "shell/Version.h"

namespace orv {

std::string BannerLine() { return std::string("Orvane ") + ORV_VERSION + ", compiled " + __DATE__ + " " + __TIME__; }

std::string VersionText() { return std::string("orvane ") + ORV_VERSION; }

} // namespace orv
