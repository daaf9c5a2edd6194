// Entry point of the player.
#include "core/ConfigFile.h"
#include "core/Log.h"
#include "shell/Version.h"

int main() {
    orv::Log(orv::BannerLine());
    orv::Log("Don't close this window.");
    orv::Log("");
    orv::ConfigTable config;
    orv::ConfigLoad(config, "Orvane.ini");
    orv::Log("Exiting.");
    return 0;
}
