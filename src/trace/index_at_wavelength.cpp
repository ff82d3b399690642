#include "trace/index_at_wavelength.h"

namespace brillora {

double IndexAtWavelength(double index, double dispersion, double nanometres) {
  const auto inverseSquare = [](double l) { return 1 / (l * l); };
  const double b = dispersion / (inverseSquare(kLineG) - inverseSquare(kLineB));
  const double a = index - b * inverseSquare(kLineSodium);
  return a + b * inverseSquare(nanometres);
}

}  // namespace brillora
