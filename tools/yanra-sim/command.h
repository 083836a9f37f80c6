// yanra-sim as a function, so that the program and the checks of its command
// line run the very same code.
#pragma once

#include <istream>
#include <string>
#include <vector>

// Runs yanra-sim with args (args[0] the program's name) and input as its
// standard input. Returns the exit status; out gets what goes to standard
// output, err what goes to standard error.
int RunYanraSim(const std::vector<std::string>& args, std::istream& input, std::string& out, std::string& err);
