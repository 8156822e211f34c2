// Elementary functions built only from +, -, *, / and sqrt, which IEEE 754
// rounds the same way everywhere. The C library's sin, exp or pow may differ in
// the last bit from one runtime to another, and a single different bit can
// change a rounded pixel, so the generator never calls them: its pictures and
// sounds must come out byte for byte the same on every machine.
#pragma once

#include <cmath>
#include <cstdint>

namespace Assets::dm {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 6.28318530717958647692;
inline constexpr double kLn2 = 0.69314718055994530942;

inline double Clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
inline double Clamp01(double v) {
    return Clamp(v, 0.0, 1.0);
}
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline double Smoothstep(double e0, double e1, double v) {
    double t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}
inline double Sqrt(double v) {
    return v > 0.0 ? std::sqrt(v) : 0.0;
}
inline double Abs(double v) {
    return v < 0.0 ? -v : v;
}
inline double Floor(double v) {
    return std::floor(v);
}
inline double Fract(double v) {
    return v - std::floor(v);
}
inline double Min(double a, double b) {
    return a < b ? a : b;
}
inline double Max(double a, double b) {
    return a > b ? a : b;
}

// Sine by reduction to [-pi/2, pi/2] and a Taylor polynomial (error < 1e-9).
inline double Sin(double x) {
    x -= kTwoPi * std::floor(x / kTwoPi + 0.5);  // now in [-pi, pi]
    if (x > kPi / 2) x = kPi - x;
    if (x < -kPi / 2) x = -kPi - x;
    double x2 = x * x;
    double term = x, sum = x;
    for (int n = 1; n <= 8; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}
inline double Cos(double x) {
    return Sin(x + kPi / 2);
}

// e^x as 2^k * e^r with |r| <= ln2/2 and a Taylor polynomial.
inline double Exp(double x) {
    if (x < -700.0) return 0.0;
    if (x > 700.0) x = 700.0;
    double k = std::floor(x / kLn2 + 0.5);
    double r = x - k * kLn2;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// Natural logarithm: mantissa in [sqrt(1/2), sqrt(2)) and the atanh series.
inline double Log(double x) {
    if (x <= 0.0) return -745.0;
    int e = 0;
    double m = std::frexp(x, &e);  // m in [0.5, 1), exact
    if (m < 0.70710678118654752440) {
        m *= 2.0;
        e -= 1;
    }
    double s = (m - 1.0) / (m + 1.0);
    double s2 = s * s;
    double term = s, sum = 0.0;
    for (int n = 1; n <= 39; n += 2) {
        sum += term / n;
        term *= s2;
    }
    return 2.0 * sum + e * kLn2;
}

inline double Pow(double base, double exponent) {
    if (base <= 0.0) return 0.0;
    return Exp(exponent * Log(base));
}

// Arc tangent: two half-angle reductions bring |x| below about 0.2, where
// the series converges fast.
inline double Atan(double x) {
    bool invert = false;
    double sign = 1.0;
    if (x < 0.0) {
        x = -x;
        sign = -1.0;
    }
    if (x > 1.0) {
        x = 1.0 / x;
        invert = true;
    }
    x = x / (1.0 + std::sqrt(1.0 + x * x));
    x = x / (1.0 + std::sqrt(1.0 + x * x));
    double x2 = x * x, term = x, sum = 0.0;
    for (int n = 1; n <= 21; n += 2) {
        sum += term / n;
        term *= -x2;
    }
    double result = 4.0 * sum;
    if (invert) result = kPi / 2 - result;
    return sign * result;
}

inline double Atan2(double y, double x) {
    if (x > 0.0) return Atan(y / x);
    if (x < 0.0) return y >= 0.0 ? Atan(y / x) + kPi : Atan(y / x) - kPi;
    if (y > 0.0) return kPi / 2;
    if (y < 0.0) return -kPi / 2;
    return 0.0;
}

inline double Radians(double degrees) {
    return degrees * (kPi / 180.0);
}

}  // namespace Assets::dm
