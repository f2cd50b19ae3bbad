#include "MosaicTest.h"

#include <utility>

#include "Random.h"
#include "RasterImage.h"

namespace
{

// Expected values worked through the recurrence by hand from the document's initial seeds
// 25489631 and 1254678:
//   s1: 25489631 = 474 x 53668 + 50999 -> 40014 x 50999 - 12211 x 474 = 2034885972
//   s2: 1254678 = 23 x 52774 + 40876 -> 40692 x 40876 - 3791 x 23 = 1663238999
//   z = 371646973 -> 371646973 x 4.656613e-10
struct DrawCase
{
    int seed1;
    int seed2;
    int nextSeed1;
    int nextSeed2;
    double value;
};

TEST(RandomUniform, FollowsTheCombinedRecurrence)
{
    const DrawCase cases[] = {
        {25489631, 1254678, 2034885972, 1663238999, 371646973 * 4.656613e-10},
        {2034885972, 1663238999, 2087992463, 434544424, 1653448039 * 4.656613e-10},
        // Both products negative: 40014 x (11648 - 12211) + 2147483563 and
        // 40692 x (3392 - 3791) + 2147483399; z < 1 then wraps by 2147483562.
        {2147483000, 2147483000, 2124955681, 2131247291, 2141191952 * 4.656613e-10},
        // The largest z, 2147483562 (40014 x 65421664 is 2147483562 modulo 2147483563).
        {65421664, 0, 2147483562, 0, 2147483562 * 4.656613e-10},
    };
    for (const DrawCase& c : cases)
    {
        int s1 = c.seed1, s2 = c.seed2;
        const double u = RandomUniform(&s1, &s2);
        EXPECT_EQ(c.nextSeed1, s1) << c.seed1;
        EXPECT_EQ(c.nextSeed2, s2) << c.seed2;
        EXPECT_DOUBLE_EQ(c.value, u) << c.seed1;
        EXPECT_GT(u, 0.0);
        EXPECT_LT(u, 1.0);
    }
}

TEST(RandomUniform, StaysInsideTheOpenInterval)
{
    int s1 = 25489631, s2 = 1254678;
    for (int i = 0; i < 200000; ++i)
    {
        const double u = RandomUniform(&s1, &s2);
        ASSERT_TRUE(u > 0.0 && u < 1.0) << "draw " << i << ": " << u;
    }
}

struct Map
{
    CRasterImage image;
    Map(int cols, int rows)
    {
        image.Create(0, 4 * cols, 4 * rows);
        image.FillBytes(0);
    }
    ~Map() { image.Free(); }
};

TEST(RandomVariants, FourDrawsInPartOrderKeepTheOtherFields)
{
    // The first four draws from the document's seeds are 0.17306, 0.76995, 0.45588, 0.07141:
    // x 100 for family kind 1 and x 4 for kind 0, each rounded.
    const struct
    {
        int kind;
        int variants[4];
    } cases[] = {{1, {17, 77, 46, 7}}, {0, {1, 3, 2, 0}}, {3, {1, 3, 2, 0}}};
    for (const auto& c : cases)
    {
        Map map(2, 2);
        map.image.SetCell(1, 1, 3, 5, 11, 12, 13, 14, 200, 201, 202, 203);
        const int spare = 4 + 4 * 8 + 2 * 8 + 2; // block row 2, byte 2 of cell (1, 1)
        map.image.data[spare] = 0xEE;
        int s1 = 25489631, s2 = 1254678;
        map.image.RandomizeCellVariants(1, 1, &s1, &s2, c.kind);
        int f[10];
        map.image.GetCell(1, 1, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
        const int expected[10] = {3, 5, 11, 12, 13, 14, c.variants[0], c.variants[1],
                                  c.variants[2], c.variants[3]};
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(expected[i], f[i]) << "kind " << c.kind << ", field " << i;
        EXPECT_EQ(0xEE, map.image.data[spare]);
        EXPECT_EQ(543724954, s1);
        EXPECT_EQ(390378423, s2);
    }
}

TEST(RandomVariants, CellOutsideTheMapChangesNothing)
{
    Map map(2, 2);
    int s1 = 25489631, s2 = 1254678;
    for (const auto& cell : {std::make_pair(2, 0), std::make_pair(0, 2), std::make_pair(-1, 0)})
        map.image.RandomizeCellVariants(cell.first, cell.second, &s1, &s2, 1);
    EXPECT_EQ(25489631, s1);
    EXPECT_EQ(1254678, s2);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(0, map.image.data[i]);
}

TEST(RandomVariants, DrawTextureVariantSpansZeroToFourTimesTheShades)
{
    const struct
    {
        int kind;
        int top;
    } cases[] = {{0, 4}, {1, 100}, {2, 40}, {3, 4}, {4, 16}};
    for (const auto& c : cases)
    {
        int s1 = 12345, s2 = 67890;
        int low = 1000, high = -1;
        for (int i = 0; i < 20000; ++i)
        {
            const int v = DrawTextureVariant(c.kind, &s1, &s2);
            low = v < low ? v : low;
            high = v > high ? v : high;
        }
        EXPECT_EQ(0, low) << c.kind;
        EXPECT_EQ(c.top, high) << c.kind;
    }
}

} // namespace
