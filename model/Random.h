// The program's random numbers: L'Ecuyer's combined generator over two seeds that the caller
// owns (the document keeps them), and the texture-variant draws built on it.
#pragma once

// Advances both seeds and returns a number in the open interval (0, 1).
double RandomUniform(int* seed1, int* seed2);

// One texture variant for a palette family kind: RoundHalfAway(RandomUniform x n) with
// n = 4 x shades, so 0 to n inclusive.
int DrawTextureVariant(int paletteKind, int* seed1, int* seed2);
