#pragma once

#include <string>

// The program's complaints on standard error, each one line that starts with
// the program's name, so that a line in a terminal or a log says who wrote it.
namespace errorLine {

// `what`, after the program's name.
std::string text(std::string const& what);
// That line on standard error.
void print(std::string const& what);

}  // namespace errorLine
