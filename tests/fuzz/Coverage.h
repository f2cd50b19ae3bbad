// Coverage feedback from the reader sources, which the build compiles a second time with
// gcc's -fsanitize-coverage=trace-pc,trace-cmp for this driver only: the edges between basic
// blocks that one input ran through, and the values the readers compared with.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace fuzz
{

const size_t kCoverageMapSize = 1 << 16;

// What a reader's inputs have reached so far: per edge, the hit-count classes seen.
struct CoverageSeen
{
    std::vector<uint8_t> classes = std::vector<uint8_t>(kCoverageMapSize, 0);
    size_t edges = 0;
};

// Starts tracing one input, with an empty trace.
void CoverageBegin();
// Stops tracing; folds the trace into seen and returns true when the input reached an edge,
// or an edge a number of times, that no earlier input of seen did.
bool CoverageEnd(CoverageSeen& seen);
// False when no instrumented code ever ran: the driver then mutates without guidance.
bool CoverageWorks();

// Values the readers compared with: constants, and the last operand pairs of comparisons of
// two variables (the second is what the first would have had to be).
struct ComparedValue
{
    uint64_t value;
    uint64_t other;   // for a pair; equal to value for a constant
    int size;         // 1, 2, 4 or 8 bytes
};
size_t ComparedConstantCount();
ComparedValue ComparedConstant(size_t index);
size_t ComparedPairCount();
ComparedValue ComparedPair(size_t index);

}   // namespace fuzz
