// SPDX-License-Identifier: GPL-3.0-or-later
// Child of the start-up benchmark: the program's own start-up path, up to its first frame.
#include "FirstFrame.h"
#include "ui/Unit1.h"

FIRST_FRAME_WATCHER

int main(int argc, char* argv[]) { return TApplication::RunProgram(argc, argv, Form1); }
