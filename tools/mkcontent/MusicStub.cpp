namespace orv { struct ContentJob; }
#include "ContentTree.h"
namespace orv { void AddMusicJobs(std::vector<ContentJob>&) {} }
