#include "ContentTree.h"
namespace orv {
void AddMeshJobs(std::vector<ContentJob>&) {}
void AddSoundJobs(std::vector<ContentJob>&) {}
void AddMusicJobs(std::vector<ContentJob>&) {}
}
