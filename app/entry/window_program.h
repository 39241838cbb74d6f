#pragma once

#include "app/headless/headless_options.h"

// Runs the desktop program: the main window, the update dialog and the
// recording-source dialog, then the message loop.
int runWindowProgram(int argc, char** argv, const CommandLine& commandLine);
