// Make dependency files in the form compilers write with -MD, which make,
// ninja (deps = gcc) and CMake's DEPFILE read.
#pragma once
#include <string>
#include <vector>

// A file name as make reads it in a rule: a blank becomes "\ " (the
// backslashes before it doubled), "#" becomes "\#" and "$" becomes "$$".
std::string EscapeForMake(const std::string& name);

// "TARGETS: PREREQUISITES" with one prerequisite per continued line; with
// phony, an empty rule for each prerequisite but the main source (first,
// when it is a file), so that make does not stop when an included file is
// removed.
// Targets are written as given; prerequisites are escaped here.
std::string DependencyRule(const std::string& targets, const std::vector<std::string>& prerequisites, bool phony,
                           const std::string& mainSource);
