#include <gtest/gtest.h>
#include <limits.h>
#include <math.h>
#include "SRound.h"

namespace {

// Factors go through volatile storage so that the products are computed by the
// build's own arithmetic at run time, not folded by the compiler.
double Product(double a, double b)
{
    volatile double left = a, right = b;
    return left * right;
}

double Luminance(int red, int green, int blue)
{
    volatile double r = 0.299, g = 0.587, b = 0.114;
    return r * red + g * green + b * blue;
}

} // namespace

TEST(SRound, WholeProductsStayWholeAndFractionsKeepTheirMeaning)
{
    struct Case {
        const char* what;
        double value;
        int truncated, nearest;
    } cases[] = {
        {"white's luminance", Luminance(255, 255, 255), 255, 255},
        {"grey 1's luminance", Luminance(1, 1, 1), 1, 1},
        {"grey 11's luminance", Luminance(11, 11, 11), 11, 11},
        {"green's luminance", Luminance(0, 255, 0), 149, 150},
        {"210 mm at 794 px per 210 mm", Product(210.0, Product(794.0, 1.0 / 210.0)), 794, 794},
        {"210 mm at 96 dpi", Product(210.0 / 25.4, 96.0), 793, 794},
        {"1.2 s in ms", Product(1.2, 1000.0), 1200, 1200},
        {"1.001 s in ms", Product(1.001, 1000.0), 1001, 1001},
        {"0.1 * 3", Product(0.1, 3.0), 0, 0},
        {"0.1 * 3 * 10", Product(Product(0.1, 3.0), 10.0), 3, 3},
        {"0.29 * 100", Product(0.29, 100.0), 29, 29},
        {"0.57 * 100", Product(0.57, 100.0), 57, 57},
        {"-0.29 * 100", Product(-0.29, 100.0), -29, -29},
        {"0.145 * 100 is a half", Product(0.145, 100.0), 14, 15},
        {"-0.285 * 100 is a half", Product(-0.285, 100.0), -28, -29},
        {"2.5", 2.5, 2, 3},
        {"-2.5", -2.5, -2, -3},
        {"0.5", 0.5, 0, 1},
        {"-0.5", -0.5, 0, -1},
        {"2.4", 2.4, 2, 2},
        {"-1.7", -1.7, -1, -2},
        {"a real fraction below a whole number", 254.9999, 254, 255},
        {"a real fraction just below 1200", 1199.999999, 1199, 1200},
        {"a real fraction above a whole number", 3.000001, 3, 3},
        {"zero", 0.0, 0, 0},
        {"far above the int range", 1e12, INT_MAX, INT_MAX},
        {"far below the int range", -1e12, INT_MIN, INT_MIN},
        {"not a number", nan(""), 0, 0},
        {"infinity", HUGE_VAL, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.truncated, SRound::Truncate(c.value)) << c.what;
        EXPECT_EQ(c.nearest, SRound::Nearest(c.value)) << c.what;
    }
}

TEST(SRound, SixtyFourBitTruncation)
{
    struct Case {
        double value;
        int64_t truncated;
    } cases[] = {
        {Product(0.29, 100.0), 29},
        {Product(44100.0 * 3600.0, 1.0 / 3.0) * 3.0, 158760000},
        {5e9 + 0.75, 5000000000LL},
        {-5e9 - 0.75, -5000000000LL},
        {1e30, INT64_MAX},
        {-1e30, INT64_MIN},
        {nan(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.truncated, SRound::Truncate64(c.value)) << c.value;
}
