#include "Mutator.h"

#include <string.h>

#include <algorithm>

#include "Coverage.h"

namespace fuzz
{
namespace
{

const uint32_t kInteresting[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF};

// Lengths of ranges: mostly short, sometimes long, never beyond the bytes there are.
size_t RangeLength(Rng& rng, size_t limit)
{
    if (limit == 0)
        return 0;
    static const size_t kScales[] = {4, 16, 64, 1024, 65536};
    size_t scale = kScales[rng.Below(sizeof(kScales) / sizeof(kScales[0]))];
    return 1 + rng.Below(std::min(limit, scale));
}

void PutValue(Bytes& data, size_t at, uint64_t value, int size, bool bigEndian)
{
    for (int i = 0; i < size && at + i < data.size(); i++)
    {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        data[at + i] = (BYTE)(value >> shift);
    }
}

uint64_t GetValue(const Bytes& data, size_t at, int size)
{
    uint64_t value = 0;
    for (int i = 0; i < size; i++)
        value |= (uint64_t)data[at + i] << (8 * i);
    return value;
}

int RandomWidth(Rng& rng)
{
    static const int kWidths[] = {1, 2, 4};
    return kWidths[rng.Below(3)];
}

// A whole string of the archive's Unicode form (0xFF, 0xFFFE, a length below 0xFF, the
// units) becomes one of the texts. The texts are words the readers compare names with,
// which the coverage callbacks do not see. Strings near the front are chosen more often:
// documents keep their few settings strings ahead of hundreds of palette strings.
bool ReplaceArchiveString(Bytes& data, Rng& rng, const LPCWSTR* strings)
{
    size_t nStrings = 0;
    while (strings != NULL && strings[nStrings] != NULL)
        nStrings++;
    if (nStrings == 0)
        return false;
    std::vector<size_t> found;
    for (size_t i = 0; i + 4 <= data.size() && found.size() < 4096; i++)
        if (data[i] == 0xFF && data[i + 1] == 0xFE && data[i + 2] == 0xFF && data[i + 3] < 0xFF &&
            i + 4 + 2 * (size_t)data[i + 3] <= data.size())
            found.push_back(i);
    if (found.empty())
        return false;
    // Among the first 1, 2, 4 ... of them, each range as likely as the others.
    size_t levels = 0;
    while ((found.size() >> levels) > 1)
        levels++;
    const size_t limit = std::max<size_t>(1, found.size() >> rng.Below(levels + 1));
    const size_t at = found[rng.Below(limit)];
    const size_t oldEnd = at + 4 + 2 * (size_t)data[at + 3];
    const LPCWSTR text = strings[rng.Below(nStrings)];
    const int length = lstrlenW(text);
    Bytes piece = {0xFF, 0xFE, 0xFF, (BYTE)length};
    for (int c = 0; c < length; c++)
    {
        piece.push_back((BYTE)text[c]);
        piece.push_back((BYTE)(text[c] >> 8));
    }
    data.erase(data.begin() + at, data.begin() + oldEnd);
    data.insert(data.begin() + at, piece.begin(), piece.end());
    return true;
}

// One mutation; false when it could not apply to data as it is.
bool MutateOnce(Bytes& data, const Bytes& other, Rng& rng, const LPCWSTR* strings)
{
    const size_t n = data.size();
    switch (rng.Below(14))
    {
    case 0:   // flip a bit
        if (n == 0)
            return false;
        data[rng.Below(n)] ^= (BYTE)(1 << rng.Below(8));
        return true;
    case 1:   // any byte
        if (n == 0)
            return false;
        data[rng.Below(n)] = (BYTE)rng.Next();
        return true;
    case 2:   // an interesting value over 1, 2 or 4 bytes
    case 3:
    {
        const int width = RandomWidth(rng);
        if (n < (size_t)width)
            return false;
        const uint64_t value = kInteresting[rng.Below(sizeof(kInteresting) / sizeof(kInteresting[0]))];
        PutValue(data, rng.Below(n - width + 1), value, width, rng.OneIn(4));
        return true;
    }
    case 4:   // a little more or less
    {
        const int width = RandomWidth(rng);
        if (n < (size_t)width)
            return false;
        const size_t at = rng.Below(n - width + 1);
        const uint64_t delta = 1 + rng.Below(35);
        const uint64_t value = GetValue(data, at, width);
        PutValue(data, at, rng.OneIn(2) ? value + delta : value - delta, width, false);
        return true;
    }
    case 5:   // truncation
        if (n == 0)
            return false;
        data.resize(rng.Below(n));
        return true;
    case 6:   // insertion of random bytes or of one repeated byte
    {
        const size_t count = RangeLength(rng, 4096);
        const size_t at = rng.Below(n + 1);
        Bytes piece(count);
        if (rng.OneIn(2))
            std::fill(piece.begin(), piece.end(), (BYTE)rng.Next());
        else
            for (BYTE& b : piece)
                b = (BYTE)rng.Next();
        data.insert(data.begin() + at, piece.begin(), piece.end());
        return true;
    }
    case 7:   // deletion of a range
    {
        if (n == 0)
            return false;
        const size_t count = RangeLength(rng, n);
        const size_t at = rng.Below(n - count + 1);
        data.erase(data.begin() + at, data.begin() + at + count);
        return true;
    }
    case 8:   // duplication of a range, inserted elsewhere
    {
        if (n == 0)
            return false;
        const size_t count = RangeLength(rng, n);
        const size_t from = rng.Below(n - count + 1);
        const Bytes piece(data.begin() + from, data.begin() + from + count);
        data.insert(data.begin() + rng.Below(n + 1), piece.begin(), piece.end());
        return true;
    }
    case 9:   // a range copied over another
    {
        if (n < 2)
            return false;
        const size_t count = RangeLength(rng, n / 2);
        const size_t from = rng.Below(n - count + 1);
        const size_t to = rng.Below(n - count + 1);
        memmove(data.data() + to, data.data() + from, count);
        return true;
    }
    case 10:   // splice: this input's head with the other's tail
    {
        if (other.empty())
            return false;
        const size_t cut = rng.Below(n + 1);
        const size_t otherCut = rng.OneIn(2) ? std::min(cut, other.size()) : rng.Below(other.size());
        data.resize(cut);
        data.insert(data.end(), other.begin() + otherCut, other.end());
        return true;
    }
    case 11:   // a constant a reader compared with
    {
        const size_t count = ComparedConstantCount();
        if (count == 0)
            return false;
        const ComparedValue c = ComparedConstant(rng.Below(count));
        if (n < (size_t)c.size)
            return false;
        PutValue(data, rng.Below(n - c.size + 1), c.value, c.size, false);
        return true;
    }
    case 12:   // where one operand of a failed comparison stands, the other
    {
        const size_t count = ComparedPairCount();
        if (count == 0)
            return false;
        const ComparedValue pair = ComparedPair(rng.Below(count));
        if (n < (size_t)pair.size)
            return false;
        const size_t positions = n - pair.size + 1;
        const size_t start = rng.Below(positions);
        for (size_t k = 0; k < positions; k++)
        {
            const size_t at = (start + k) % positions;
            if (GetValue(data, at, pair.size) == pair.value)
            {
                PutValue(data, at, pair.other, pair.size, false);
                return true;
            }
        }
        return false;
    }
    case 13:
        return ReplaceArchiveString(data, rng, strings);
    }
    return false;
}

}   // namespace

void Mutate(Bytes& data, const Bytes& other, Rng& rng, size_t maxSize, const LPCWSTR* strings)
{
    const int stacked = 1 + (int)rng.Below(rng.OneIn(2) ? 2 : 8);
    int applied = 0;
    for (int attempt = 0; applied < stacked && attempt < 4 * stacked; attempt++)
    {
        if (MutateOnce(data, other, rng, strings))
            applied++;
        if (data.size() > maxSize)
            data.resize(maxSize);
    }
}

uint64_t HashBytes(const Bytes& data)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (BYTE b : data)
        hash = (hash ^ b) * 0x100000001B3ull;
    return hash;
}

}   // namespace fuzz
