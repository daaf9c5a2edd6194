// Entry point of the player.
#include "shell/Program.h"

int main(int argc, char** argv) { return orv::RunProgram(argc, argv); }
