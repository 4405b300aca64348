#pragma once
// The gas at a subsonic Mach number M of the stream: the formulas that turn the pressure of an
// incompressible flow into that of a compressible one, and tell where the flow turns sonic. Air,
// gamma = 1.4; Cp = (p - p_inf) / (1/2 rho_inf U^2) throughout.
//
//   beta = sqrt(1 - M^2), the Prandtl–Glauert factor;
//   Cp* = 2 / (gamma M^2) (((2 + (gamma - 1) M^2) / (gamma + 1))^(gamma / (gamma - 1)) - 1),
//     the pressure at which the local speed is the local speed of sound, in isentropic flow
//     from the stream;
//   Kármán–Tsien: Cp = Cp0 / (beta + M^2 / (1 + beta) Cp0 / 2), from the incompressible Cp0
//     (von Kármán, J. Aeronaut. Sci. 8, 1941, 337; Tsien, J. Aeronaut. Sci. 6, 1939, 399);
//   the planar Prandtl–Glauert scaling Cp0 / beta, which holds for thin wings, not for bodies
//     of revolution (Göthert's rule, results/goethert.h, does), kept to compare with;
//   the isentropic speed of a pressure: p / p_inf = 1 + gamma M^2 Cp / 2,
//     T / T_inf = (p / p_inf)^((gamma - 1) / gamma), and by the energy equation
//     q^2 / U^2 = 1 + 2 (1 - T / T_inf) / ((gamma - 1) M^2), which is 1 - Cp to first order and
//     at M = 0 exactly; below the pressure of vacuum, Cp = -2 / (gamma M^2), where the relations
//     end, the speed is the largest a gas reaches, q^2 / U^2 = 1 + 2 / ((gamma - 1) M^2).

namespace tarvenol {

inline constexpr double kGamma = 1.4;  // air

// Refuses a Mach number that is not finite or lies outside 0 <= M < 1, naming what is wrong.
void RequireSubsonicMach(double mach);

double BetaOfMach(double mach);

// -infinity at M = 0, where no pressure is low enough.
double SonicPressureCoefficient(double mach);

double VacuumPressureCoefficient(double mach);

// -infinity where the denominator is 0 or below: the suction is then beyond what the
// correction's tangent gas can turn into a pressure, far past sonic.
double KarmanTsien(double cpIncompressible, double mach);

double PlanarPrandtlGlauert(double cpIncompressible, double mach);

// q / U of the gas where the pressure coefficient is Cp; sqrt(1 - Cp) at M = 0; 0 at and above
// the stagnation pressure, which linear theory may pass near a stagnation point.
double IsentropicSpeed(double Cp, double mach);

}  // namespace tarvenol
