// The landscape's height field: a valley along the x axis with a gently uneven floor below
// zero, hills and a mountain rim further out, a cliff to the north with a plateau above it,
// and at the cliff's foot a plunge pool under the stone head at (11, 17, 17).
#pragma once

#include <vector>

namespace datagen {

// Height of the ground at (x, z) as the function the mesh samples.
double TerrainHeight(double x, double z);

// True where a grid vertex belongs to the plunge pool: every cell that reaches into the
// column of radius 3 around the head's position has all its corners down in the pool.
bool InPlungePool(double x, double z);

// z of the cliff's foot at x.
double CliffLine(double x);

// Grid coordinates along either axis: 1 unit apart around the valley, wider further out.
std::vector<double> TerrainGridLines();

// Fraction of the sky hidden by the surrounding ground, in [0, 1], seen from (x, y, z).
double TerrainOcclusion(double x, double y, double z);

}  // namespace datagen
