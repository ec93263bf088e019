// The program's start-up, exactly as its own executable runs it; FirstPaintProbe.cpp
// reports the first frame and ends the process.
#include "shell/Startup.h"

int main(int argc, char** argv) { return RunProgram(argc, argv); }
