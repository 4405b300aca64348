#pragma once
// Internal to the plot library: only its own files and its tests include it.
// The plot of the pressure along the body at a Mach number above 0: Cp of Göthert's rule along
// the meridian (at an angle of attack the windward and the leeward one), against the rule on
// the exact affine spheroid where the body is a spheroid, the incompressible Cp, the planar
// Prandtl–Glauert scaling as a named comparison, and the sonic pressure coefficient Cp*. Above
// the critical Mach number its title says that the flow is locally supersonic.

class QChart;

namespace tarvenol {

struct PressureAlongBody;

// A new chart, the caller's to own; pressure must carry its Mach number.
QChart* MakeMachChart(const PressureAlongBody& pressure);

}  // namespace tarvenol
