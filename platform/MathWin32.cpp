// Sine and cosine for the Windows build. MinGW-w64's libraries compute them
// with the x87 fsin/fcos instructions, whose built-in reduction by a 66-bit
// pi loses most of the digits near multiples of pi/2: cos(pi/2) comes out
// as 6.1230317691e-17 instead of 6.1232339957e-17, and a drawing made on
// Windows would differ from the same drawing made elsewhere. The program is
// linked with --wrap for these functions (cmake/Win32Program.cmake), so
// every call lands here: an exact reduction by pi/2 in three parts, then the
// Taylor series on [-pi/4, pi/4] in extended precision.
#include <cmath>

extern "C" {
double __real_cos(double);
double __real_sin(double);
long double __real_cosl(long double);
long double __real_sinl(long double);
double __wrap_cos(double x);
double __wrap_sin(double x);
long double __wrap_cosl(long double x);
long double __wrap_sinl(long double x);
// The compiler joins a sine and a cosine of the same angle into one call.
void __wrap_sincos(double x, double* sine, double* cosine);
void __wrap_sincosl(long double x, long double* sine, long double* cosine);
}

namespace {

// pi/2 = PiHalf1 + PiHalf2 + PiHalf3; the first two carry 32 bits each, so
// that n times either is exact for the n allowed below.
constexpr long double PiHalf1 = 0xc90fdaa2p-31L;
constexpr long double PiHalf2 = 0x85a308d3p-65L;
constexpr long double PiHalf3 = 0x98cc51701b839a25p-132L;
constexpr long double TwoOverPi = 0xa2f9836e4e44152ap-64L;
// Beyond this the quadrant count no longer fits the exact products.
constexpr long double Largest = 0x1p30L;

// Sine and cosine of r, |r| <= pi/4 (and a little), by their series.
long double SineSeries(long double r)
{
    const long double r2 = r * r;
    long double term = 1;
    // 1 - r^2/(2*3) (1 - r^2/(4*5) (1 - ...)), to r^27.
    for (int k = 26; k >= 2; k -= 2)
        term = 1 - r2 / (k * (k + 1)) * term;
    return r * term;
}

long double CosineSeries(long double r)
{
    const long double r2 = r * r;
    long double term = 1;
    for (int k = 26; k >= 2; k -= 2)
        term = 1 - r2 / ((k - 1) * k) * term;
    return term;
}

// The quadrant of x (0 to 3) and the rest of x after it.
bool Reduce(long double x, int& quadrant, long double& rest)
{
    if (!(fabsl(x) < Largest))
        return false;
    const long double n = floorl(x * TwoOverPi + 0.5L);
    rest = ((x - n * PiHalf1) - n * PiHalf2) - n * PiHalf3;
    const long double four = n - 4 * floorl(n / 4);
    quadrant = static_cast<int>(four);
    return true;
}

// Sine of x shifted by quarter turns: cos x = sin(x + pi/2).
long double SineOfQuadrant(long double x, int quarterTurns, bool& done)
{
    int quadrant = 0;
    long double r = 0;
    done = Reduce(x, quadrant, r);
    if (!done)
        return 0;
    switch ((quadrant + quarterTurns) % 4) {
    case 0: return SineSeries(r);
    case 1: return CosineSeries(r);
    case 2: return -SineSeries(r);
    default: return -CosineSeries(r);
    }
}

long double Sine(long double x, bool& done) { return SineOfQuadrant(x, 0, done); }
long double Cosine(long double x, bool& done) { return SineOfQuadrant(x, 1, done); }

}  // namespace

extern "C" double __wrap_cos(double x)
{
    bool done = false;
    const long double c = Cosine(x, done);
    return done ? static_cast<double>(c) : __real_cos(x);
}

extern "C" double __wrap_sin(double x)
{
    bool done = false;
    const long double s = Sine(x, done);
    // sin(-0) keeps its sign.
    return done ? (x == 0 ? x : static_cast<double>(s)) : __real_sin(x);
}

extern "C" long double __wrap_cosl(long double x)
{
    bool done = false;
    const long double c = Cosine(x, done);
    return done ? c : __real_cosl(x);
}

extern "C" long double __wrap_sinl(long double x)
{
    bool done = false;
    const long double s = Sine(x, done);
    return done ? (x == 0 ? x : s) : __real_sinl(x);
}

extern "C" void __wrap_sincos(double x, double* sine, double* cosine)
{
    *sine = __wrap_sin(x);
    *cosine = __wrap_cos(x);
}

extern "C" void __wrap_sincosl(long double x, long double* sine, long double* cosine)
{
    *sine = __wrap_sinl(x);
    *cosine = __wrap_cosl(x);
}
