#pragma once

#include <optional>

// Answers --help and --version on the terminal, before any window or
// display is needed; returns the exit code to end with then, or nothing when
// the program goes on (the toolkit's own options are left to it).
std::optional<int> answerCommandLine(int argc, char** argv);
