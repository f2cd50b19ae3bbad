// The program's random numbers: L'Ecuyer's combined generator over two seeds that the caller
// owns (the document keeps them), and the texture-variant draws built on it.
#pragma once

#include <stddef.h>

#include <vector>

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
        // Seeds stay in 0 to the modulus less 1, so the products need no sign.
        seed1 = (int)((unsigned long long)(unsigned int)seed1 * 40014u % (unsigned)Modulus1);
        seed2 = (int)((unsigned long long)(unsigned int)seed2 * 40692u % (unsigned)Modulus2);
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

// The draws of a run by their place in it. Draw j (from 0) of a run that starts at normalized
// seeds s1, s2 leaves the seeds s1 x a1^(j + 1) and s2 x a2^(j + 1) modulo the moduli; with
// those powers in a table, no draw waits for the one before, and the processor overlaps them.
class RandomPowers
{
public:
    // Powers for draws 0 to count - 1.
    explicit RandomPowers(size_t count);

    // Draw j of the run that starts at start (normalized): what the (j + 1)th Uniform from
    // start returns.
    double Uniform(const RandomStream& start, size_t j) const
    {
        const int s1 = (int)((unsigned long long)(unsigned int)start.seed1 * m_power1[j] %
                             (unsigned)RandomStream::Modulus1);
        const int s2 = (int)((unsigned long long)(unsigned int)start.seed2 * m_power2[j] %
                             (unsigned)RandomStream::Modulus2);
        int z = s1 - s2;
        if (z < 1)
            z += 2147483562;
        return z * 4.656613e-10;
    }

    // As RandomStream::TextureVariant, for draw j.
    int TextureVariant(const RandomStream& start, size_t j, int variantCount) const
    {
        return (int)(Uniform(start, j) * variantCount + 0.4999);
    }

private:
    std::vector<unsigned int> m_power1;
    std::vector<unsigned int> m_power2;
};

// 4 x the shades of a palette family kind: the count DrawTextureVariant draws over.
int TextureVariantCount(int paletteKind);
