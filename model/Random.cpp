#include "Random.h"

#include "Paving.h"

double RandomUniform(int* seed1, int* seed2)
{
    // Schrage's decomposition keeps every product inside 32-bit signed arithmetic.
    int s1 = *seed1;
    int k = s1 / 53668;
    s1 = 40014 * (s1 - k * 53668) - k * 12211;
    if (s1 < 0)
        s1 += 2147483563;

    int s2 = *seed2;
    k = s2 / 52774;
    s2 = 40692 * (s2 - k * 52774) - k * 3791;
    if (s2 < 0)
        s2 += 2147483399;

    *seed1 = s1;
    *seed2 = s2;
    int z = s1 - s2;
    if (z < 1)
        z += 2147483562;
    // The constant is a hair below 1 / 2147483563, so the largest z still gives less than 1.
    return z * 4.656613e-10;
}

int TextureVariantCount(int paletteKind)
{
    return 4 * PaletteShadeCount(paletteKind);
}

int DrawTextureVariant(int paletteKind, int* seed1, int* seed2)
{
    const int n = TextureVariantCount(paletteKind);
    return RoundHalfAway(RandomUniform(seed1, seed2) * n);
}

namespace
{

// base^exponent modulo modulus, for a modulus below 2^31.
long long PowerModulo(long long base, long long exponent, long long modulus)
{
    long long result = 1 % modulus;
    base %= modulus;
    while (exponent > 0)
    {
        if (exponent & 1)
            result = result * base % modulus;
        base = base * base % modulus;
        exponent >>= 1;
    }
    return result;
}

} // namespace

void RandomSkip(int* seed1, int* seed2, long long count)
{
    if (count <= 0)
        return;
    // Each step multiplies a seed modulo its modulus; the first also brings any int into
    // range (Schrage's form gives a x s modulo m in 0 to m - 1 for every int s).
    RandomStream stream = {*seed1, *seed2};
    stream.Normalize();
    *seed1 = (int)(PowerModulo(40014, count, RandomStream::Modulus1) * stream.seed1 %
                   RandomStream::Modulus1);
    *seed2 = (int)(PowerModulo(40692, count, RandomStream::Modulus2) * stream.seed2 %
                   RandomStream::Modulus2);
}

RandomPowers::RandomPowers(size_t count) : m_power1(count), m_power2(count)
{
    unsigned long long p1 = 1, p2 = 1;
    for (size_t j = 0; j < count; ++j)
    {
        p1 = p1 * 40014u % (unsigned)RandomStream::Modulus1;
        p2 = p2 * 40692u % (unsigned)RandomStream::Modulus2;
        m_power1[j] = (unsigned int)p1;
        m_power2[j] = (unsigned int)p2;
    }
}
