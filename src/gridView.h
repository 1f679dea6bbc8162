#pragma once

// The broad phase made visible: the grid's cells drawn under the bodies,
// each shaded by how many bodies it held in the last world step.
namespace gridView {

// Draw thread, with the frame's bodies drawn or still to draw.
void draw();

}  // namespace gridView
