#include "ui/Unit1.h"

int main(int argc, char* argv[]) { return TApplication::RunProgram(argc, argv, Form1); }
