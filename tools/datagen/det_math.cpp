#include "det_math.h"

namespace datagen {
namespace {

// Taylor series on [-pi/4, pi/4]; the terms up to x^17 / 17! reach double precision there.
double SinSeries(double x) {
  double x2 = x * x;
  double term = x;
  double sum = x;
  for (int n = 1; n <= 8; ++n) {
    term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
    sum += term;
  }
  return sum;
}

double CosSeries(double x) {
  double x2 = x * x;
  double term = 1.0;
  double sum = 1.0;
  for (int n = 1; n <= 8; ++n) {
    term *= -x2 / ((2.0 * n - 1.0) * (2.0 * n));
    sum += term;
  }
  return sum;
}

// Splits x into k quarter turns plus a remainder in [-pi/4, pi/4].
double Reduce(double x, long long& quadrant) {
  double k = std::floor(x / (kPi / 2.0) + 0.5);
  quadrant = static_cast<long long>(k);
  return x - k * (kPi / 2.0);
}

}  // namespace

double Sin(double x) {
  long long q = 0;
  double r = Reduce(x, q);
  switch (((q % 4) + 4) % 4) {
    case 0:
      return SinSeries(r);
    case 1:
      return CosSeries(r);
    case 2:
      return -SinSeries(r);
    default:
      return -CosSeries(r);
  }
}

double Cos(double x) {
  return Sin(x + kPi / 2.0);
}

}  // namespace datagen
