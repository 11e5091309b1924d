#pragma once

namespace korvex {

// The program entry: chooses the run mode and runs it; returns the process exit code.
int runProgram(int argc, char** argv);

} // namespace korvex
