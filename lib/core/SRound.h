#pragma once

#include <math.h>
#include <stdint.h>

// Turns floating-point values into whole numbers, the same way in every build.
// A value computed from decimal factors often misses the whole number it stands
// for by a few units in its last place (0.29 * 100 gives 28.999999999999996, a
// grey of 1 comes out of the luminance weights as 0.9999999999999999); a plain
// cast would drop such a value to the number below. Both conversions here take a
// value that lies within that noise of a whole number as the number itself, and
// otherwise keep their meaning: Truncate drops the fraction, Nearest rounds.
class SRound
{
public:
    // The whole part (towards zero) as a double; NaN stays NaN.
    static double Whole(double value)
    {
        double nearest = round(value);
        double noise = kNoise * (fabs(value) > 1.0 ? fabs(value) : 1.0);
        return fabs(value - nearest) <= noise ? nearest : trunc(value);
    }

    // The whole part (towards zero), clamped to the int range; 0 for NaN.
    static int Truncate(double value) { return (int)Clamp(Whole(value), -2147483648.0, 2147483647.0); }

    // The whole part (towards zero), clamped to the 64-bit range; 0 for NaN.
    static int64_t Truncate64(double value)
    {
        double whole = Whole(value);
        if (!(whole == whole))
            return 0;
        if (whole >= 9223372036854775808.0)
            return INT64_MAX;
        if (whole <= -9223372036854775808.0)
            return INT64_MIN;
        return (int64_t)whole;
    }

    // The nearest whole number, halves away from zero, clamped to the int range; 0 for NaN.
    static int Nearest(double value) { return Truncate(value + (value < 0 ? -0.5 : 0.5)); }

private:
    // Relative distance from a whole number that counts as arithmetic noise: a
    // few thousand units in the last place, far below any fraction that means
    // something in pixels, milliseconds, colour channels or samples.
    static constexpr double kNoise = 1e-12;

    // NaN gives 0; otherwise value limited to low .. high.
    static double Clamp(double value, double low, double high)
    {
        if (!(value == value))
            return 0.0;
        return value < low ? low : (value > high ? high : value);
    }
};
