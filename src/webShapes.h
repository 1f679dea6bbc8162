#pragma once

// The page's shapes: graphics::drawCircle and drawPolygon gather triangles
// here, and the frame sends them to OpenGL in a few client-array draws
// instead of one emulated immediate-mode draw each.
namespace webShapes {

// Draws what was gathered since the last flush; before anything else is
// drawn over it and at the end of the frame.
void flush();

}  // namespace webShapes
