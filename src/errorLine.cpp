#include "errorLine.h"

#include <iostream>

namespace errorLine {

std::string text(std::string const& what)
{
    return "ballpit: " + what;
}

void print(std::string const& what)
{
    std::cerr << text(what) << std::endl;
}

}  // namespace errorLine
