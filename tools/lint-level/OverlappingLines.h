#pragma once

#include "physics/CollisionShapes.h"

#include <vector>

// Whether two lines lie on one straight line with extents that overlap by more than a point
// (`earlier` is the line given first).
bool overlapOnOneLine(const CollisionVector& earlier, const CollisionVector& later);

// For each line, the index of the first line before it that it overlaps on one straight line,
// or -1: the same answers as asking overlapOnOneLine of every earlier line in turn, without
// comparing every pair. Only lines of one direction, on one straight line (to within far less
// than the rounding of their floats) and with extents that meet are compared.
std::vector<int> firstOverlapped(const std::vector<CollisionVector>& lines);
