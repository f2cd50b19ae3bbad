// Deterministic mutations of an input: the same seed gives the same sequence of inputs.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace fuzz
{

typedef std::vector<BYTE> Bytes;

// splitmix64: small, fast and the same on every machine.
class Rng
{
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n - 1; 0 when n is 0.
    size_t Below(size_t n) { return n == 0 ? 0 : (size_t)(Next() % n); }
    bool OneIn(size_t n) { return Below(n) == 0; }

private:
    uint64_t m_state;
};

// Applies a few stacked mutations to data. other is a second input for splicing (may be
// empty); strings (NULL-terminated, may be NULL) are texts that take the place of a whole
// string of an archive. The result never grows beyond maxSize bytes.
void Mutate(Bytes& data, const Bytes& other, Rng& rng, size_t maxSize, const LPCWSTR* strings);

// FNV-1a of the bytes: names the saved findings.
uint64_t HashBytes(const Bytes& data);

}   // namespace fuzz
