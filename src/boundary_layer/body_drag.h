#pragma once
// Internal to the boundary_layer library: only its own files and its tests include it.
// The drag of a body of revolution from its boundary layer at the tail.
//
// Young's formula (Young, ARC R&M 1874, 1939; as Granville, DTMB report 849, 1953, and Myring,
// Aeronautical Quarterly 27, 1976, use it): far downstream the wake's momentum deficit is the
// drag, D = 2 pi rho U^2 Theta_inf, Theta the momentum area per radian about the axis (r0 theta
// in a layer thin beside the radius), and the wake's momentum equation, dTheta/dx = -(H + 2)
// Theta (dUe/dx) / Ue with no wall, integrated from the tail, where the layer's edge velocity is
// Ue_t and its shape H_t, with H falling linearly in ln(Ue) to 1 where Ue reaches U (Squire &
// Young, ARC R&M 1838, 1938), gives
//   Theta_inf = Theta_t (Ue_t / U)^((H_t + 5) / 2),
// so that, in units of rho U^2 / 2,
//   D / (rho U^2 / 2) = 4 pi Theta_t (Ue_t / U)^((H_t + 5) / 2),
// pressure and skin friction together. In a wake the thicknesses are over the cross-section, so
// at the tail of a layer thicker than the radius H_t is the displacement area over the momentum
// area (boundary_layer/thick_layer.h). Beside it the skin friction alone,
//   D_f / (rho U^2 / 2) = integral over the wall of cf (Ue / U)^2 cos(phi) 2 pi r0 ds,
// phi the wall's angle to the axis, by the trapezoidal rule over the stations.
//
// The ITTC 1957 model-ship correlation line, C_F = 0.075 / (log10 Re - 2)^2, is the friction of
// a flat plate of the same length and Reynolds number; C_D / C_F is the body's form factor 1 + k.

namespace tarvenol {

// D / (rho U^2 / 2) by Young's formula.
double YoungDragArea(double momentumArea, double Ue, double H);

double Ittc57Friction(double reynolds);

}  // namespace tarvenol
