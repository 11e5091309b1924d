#include "app/ui/Program.h"

int main(int argc, char** argv) { return korvex::runProgram(argc, argv); }
