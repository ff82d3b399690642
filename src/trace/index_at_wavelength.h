#pragma once

#include <array>

namespace brillora {

// The lines the colour work is done at, in nanometres: the C and F lines of
// hydrogen, between which the figures measure the colours' spread, and the
// helium d line between them, which traces the green of a picture.
inline constexpr double kLineC = 656.3;
inline constexpr double kLineD = 587.6;
inline constexpr double kLineF = 486.1;
// A picture with dispersion is traced at these, red, green and blue.
inline constexpr std::array<double, 3> kPictureLines = {kLineC, kLineD, kLineF};

// The lines that name a material's dispersion, n(G) - n(B), and the sodium
// line its refractive index is given at.
inline constexpr double kLineG = 430.8;
inline constexpr double kLineB = 686.7;
inline constexpr double kLineSodium = 589.3;

// The refractive index at `nanometres` of a material of index `index` at the
// sodium line and dispersion `dispersion`, by Cauchy's two-term law
// n(λ) = A + B / λ²: B from the dispersion over the B and G lines, A so that
// the law gives `index` at the sodium line. Dispersion 0 gives `index` at
// every wavelength, exactly.
double IndexAtWavelength(double index, double dispersion, double nanometres);

}  // namespace brillora
