#include "Coverage.h"

#include <string.h>

namespace fuzz
{
namespace
{

uint8_t g_trace[kCoverageMapSize];
uint32_t g_previous;
bool g_tracing;
bool g_everTraced;

// Constants: a set of (value, size), kept in the order first seen.
const size_t kConstantSlots = 4096;
const size_t kMaxConstants = 1024;
struct ConstantSlot
{
    uint64_t value;
    int size;   // 0: empty
};
ConstantSlot g_constantSet[kConstantSlots];
ComparedValue g_constants[kMaxConstants];
size_t g_constantCount;

const size_t kPairRing = 128;
ComparedValue g_pairs[kPairRing];
size_t g_pairCount;
size_t g_pairNext;

// Program counters relative to a function of this module, so that the map does not change
// with the address the module is loaded at: a seed then replays the same run.
inline uintptr_t ModuleOffset(uintptr_t pc)
{
    return pc - (uintptr_t)&CoverageBegin;
}

inline uint32_t Hash16(uint64_t x)
{
    return (uint32_t)((x * 0x9E3779B97F4A7C15ull) >> 48);
}

void AddConstant(uint64_t value, int size)
{
    if (!g_tracing || value == 0 || g_constantCount >= kMaxConstants)
        return;
    size_t slot = (size_t)((value * 0x9E3779B97F4A7C15ull + (uint64_t)size) >> 52) % kConstantSlots;
    while (g_constantSet[slot].size != 0)
    {
        if (g_constantSet[slot].value == value && g_constantSet[slot].size == size)
            return;
        slot = (slot + 1) % kConstantSlots;
    }
    g_constantSet[slot] = {value, size};
    g_constants[g_constantCount++] = {value, value, size};
}

void AddPair(uint64_t a, uint64_t b, int size)
{
    if (!g_tracing || a == b)
        return;
    g_pairs[g_pairNext] = {a, b, size};
    g_pairNext = (g_pairNext + 1) % kPairRing;
    if (g_pairCount < kPairRing)
        g_pairCount++;
}

// Hit counts fall into classes, so that a loop running once more is not a new path but a
// loop running twice as often is.
uint8_t CountClass(uint8_t n)
{
    if (n <= 3)
        return (uint8_t)(1 << (n - 1));   // 1, 2, 3 -> bits 0, 1, 2
    if (n <= 7)
        return 8;
    if (n <= 15)
        return 16;
    if (n <= 31)
        return 32;
    if (n <= 127)
        return 64;
    return 128;
}

}   // namespace

void CoverageBegin()
{
    memset(g_trace, 0, sizeof(g_trace));
    g_previous = 0;
    g_tracing = true;
}

bool CoverageEnd(CoverageSeen& seen)
{
    g_tracing = false;
    bool bNew = false;
    for (size_t i = 0; i < kCoverageMapSize; i++)
    {
        if (g_trace[i] == 0)
            continue;
        g_everTraced = true;
        const uint8_t cls = CountClass(g_trace[i]);
        if ((seen.classes[i] & cls) == 0)
        {
            if (seen.classes[i] == 0)
                seen.edges++;
            seen.classes[i] |= cls;
            bNew = true;
        }
    }
    return bNew;
}

bool CoverageWorks()
{
    return g_everTraced;
}

size_t ComparedConstantCount()
{
    return g_constantCount;
}

ComparedValue ComparedConstant(size_t index)
{
    return g_constants[index];
}

size_t ComparedPairCount()
{
    return g_pairCount;
}

ComparedValue ComparedPair(size_t index)
{
    return g_pairs[index];
}

}   // namespace fuzz

// The hooks the instrumented code calls. Only the reader objects are instrumented, so these
// run on the thread that runs the readers.
extern "C"
{

void __sanitizer_cov_trace_pc()
{
    using namespace fuzz;
    if (!g_tracing)
        return;
    const uint32_t current = Hash16(ModuleOffset((uintptr_t)__builtin_return_address(0)));
    uint8_t& count = g_trace[(current ^ g_previous) & (kCoverageMapSize - 1)];
    if (count != 255)
        count++;
    g_previous = current >> 1;
}

void __sanitizer_cov_trace_cmp1(uint8_t a, uint8_t b) { fuzz::AddPair(a, b, 1); }
void __sanitizer_cov_trace_cmp2(uint16_t a, uint16_t b) { fuzz::AddPair(a, b, 2); }
void __sanitizer_cov_trace_cmp4(uint32_t a, uint32_t b) { fuzz::AddPair(a, b, 4); }
void __sanitizer_cov_trace_cmp8(uint64_t a, uint64_t b) { fuzz::AddPair(a, b, 8); }
void __sanitizer_cov_trace_const_cmp1(uint8_t c, uint8_t) { fuzz::AddConstant(c, 1); }
void __sanitizer_cov_trace_const_cmp2(uint16_t c, uint16_t) { fuzz::AddConstant(c, 2); }
void __sanitizer_cov_trace_const_cmp4(uint32_t c, uint32_t) { fuzz::AddConstant(c, 4); }
void __sanitizer_cov_trace_const_cmp8(uint64_t c, uint64_t) { fuzz::AddConstant(c, 8); }
void __sanitizer_cov_trace_cmpf(float, float) {}
void __sanitizer_cov_trace_cmpd(double, double) {}

// cases[0] is the number of case values, cases[1] their width in bits, then the values.
void __sanitizer_cov_trace_switch(uint64_t, uint64_t* cases)
{
    const int size = (int)(cases[1] / 8);
    for (uint64_t i = 0; i < cases[0]; i++)
        fuzz::AddConstant(cases[2 + i], size > 0 ? size : 8);
}

}
