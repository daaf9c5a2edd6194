#include "ContentTree.h"
namespace orv {
void AddSoundJobs(std::vector<ContentJob>&) {}
void AddMusicJobs(std::vector<ContentJob>&) {}
}
