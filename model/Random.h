// The program's random numbers: L'Ecuyer's combined generator over two seeds that the caller
// owns (the document keeps them), and the texture-variant draws built on it.
#pragma once

// Advances both seeds and returns a number in the open interval (0, 1).
double RandomUniform(int* seed1, int* seed2);

// One texture variant for a palette family kind: RoundHalfAway(RandomUniform x n) with
// n = 4 x shades, so 0 to n inclusive.
int DrawTextureVariant(int paletteKind, int* seed1, int* seed2);

// Moves both seeds on as count calls of RandomUniform would, in time logarithmic in count, so
// that a long run of draws can be split into pieces drawn in any order.
void RandomSkip(int* seed1, int* seed2, long long count);

// The generator for loops that draw millions of numbers: the same numbers as RandomUniform
// and DrawTextureVariant, without a call per draw. Seeds start as the caller's; Normalize
// first when they may lie outside the generator's range.
struct RandomStream
{
    enum : int
    {
        Modulus1 = 2147483563,
        Modulus2 = 2147483399
    };

    int seed1;
    int seed2;

    double Uniform()
    {
        seed1 = (int)((long long)seed1 * 40014 % Modulus1);
        seed2 = (int)((long long)seed2 * 40692 % Modulus2);
        int z = seed1 - seed2;
        if (z < 1)
            z += 2147483562;
        return z * 4.656613e-10;
    }

    // variantCount is 4 x the palette's shades, as DrawTextureVariant takes it.
    int TextureVariant(int variantCount)
    {
        // The product is never negative nor large, so truncating rounds as RoundHalfAway.
        return (int)(Uniform() * variantCount + 0.4999);
    }

    // Seeds taken into 0 to the modulus less 1. Uniform on the result draws what
    // RandomUniform draws from the seeds as they were: its first step maps every int so.
    void Normalize()
    {
        seed1 = (int)(((long long)seed1 % Modulus1 + Modulus1) % Modulus1);
        seed2 = (int)(((long long)seed2 % Modulus2 + Modulus2) % Modulus2);
    }
};

// 4 x the shades of a palette family kind: the count DrawTextureVariant draws over.
int TextureVariantCount(int paletteKind);
