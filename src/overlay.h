#pragma once

#include <string>
#include <vector>

// Lines of text in the top-left corner, over everything else in the frame.
namespace overlay {

// Draw thread. The font (BALLPIT_FONT, else the one fonts-dejavu-core
// installs) is opened at the first call; without it the overlay stays off,
// said once on standard error, and the program goes on.
void draw(std::vector<std::string> const& lines);
// Draw thread, at the end: frees the font and the texture.
void clean();

}  // namespace overlay
