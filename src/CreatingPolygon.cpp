#include "CreatingPolygon.h"

void CreatingPolygon::handleInput(bool) const {}

void CreatingPolygon::update(float, bool) const {}

void CreatingPolygon::draw(bool) const {}
