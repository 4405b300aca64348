#pragma once
// The turbulent layer on a body of revolution when it is not thin beside the body's radius,
// as near a closing tail, where it grows to many times the radius. The integral equations are
// taken in the thicknesses over the layer's cross-section (Patel, "A simple integral method for
// the calculation of thick axisymmetric turbulent boundary layers", Aeronautical Quarterly 25,
// 1974), per radian about the axis, r = r0 + n dr/dn at the distance n from the wall along its
// normal, dr/dn = cos(phi), phi the wall's angle to the axis:
//   momentum area      Theta = integral of u (1 - u) r dn,
//   displacement area  Delta = integral of (1 - u) r dn,       H_a = Delta / Theta,
//   flux               Phi   = integral over 0..delta of u r dn,
// u the velocity over Ue's. With the static pressure the same across the layer they obey, exactly,
//   dTheta/ds = r0 cf / 2 - (H_a + 2) Theta (dUe/ds) / Ue,
//   d(Ue Phi)/ds = (r0 + delta dr/dn) Ue E,
// E the entrainment per unit area of the layer's edge; with dr/dn = 0 or delta << r0 they are
// the thin layer's d(r0 theta)/ds and d(r0 Ue theta H1)/ds = r0 Ue E.
//
// The wall's profile is the entrainment method's: theta, H, H1 = (delta - delta*) / theta and so
// delta = (H + H1) theta, with the method's own H1(H). The moments about the wall that the radius
// adds take the profile's shape across delta as the power law u = (n / delta)^(1/N) of the same
// H, N = 2 / (H - 1), the simplest family of a given H (the drag of the DARPA SUBOFF hull moves
// by 0.1 % with the power law's own delta instead):
//   integral of n u (1 - u) dn = delta^2 N / (2 (2N + 1) (N + 1)),
//   integral of n (1 - u) dn   = delta^2 / (2 (2N + 1)),
//   integral of n u dn         = delta^2 N / (2N + 1),
// so that, with c = dr/dn and a, b, g these moments over theta^2,
//   Theta = r0 theta + c a theta^2,  Delta = r0 H theta + c b theta^2,
//   Phi = r0 H1 theta + c g theta^2.
// The skin friction and the shear stress follow the wall's theta and H, and the drag Young's
// formula in Theta and H_a (boundary_layer/body_drag.h). For c >= 0, the flux of a given
// momentum area falls as H grows (and grows with H1), but where Head's fitted H(H1) steps by
// 0.004 at H1 = 5.3 the flux of a layer thicker than the radius may take a value twice.

namespace tarvenol {

// The profiles of an entrainment method, numbered by a parameter p from least to most along
// which the flux of a layer of given momentum area only grows or only falls: p = H for Green's
// H1(H), p = H1 for Head's H(H1).
struct ProfileFamily {
  double (*H)(double p);
  double (*H1)(double p);
  double least, most;
};

// H or H1 of a family numbered by it.
inline double Itself(double p) {
  return p;
}

struct ThickLayer {
  double theta = 0, H = 0, H1 = 0, delta = 0;  // the wall's profile
  double momentumArea = 0, displacementArea = 0, flux = 0;
  double HArea = 0;       // displacementArea / momentumArea
  double edgeRadius = 0;  // r0 + delta dr/dn
};

// The layer of the wall's theta and profile p.
ThickLayer ThickLayerOfTheta(double theta, double p, double r0, double drdn,
                             const ProfileFamily& f);

// Where a march's search for the profile starts: the last profile found, and the flux's rate of
// change with p there (0: not known).
struct ProfileGuess {
  double p = 0, slope = 0;
};

// The layer of momentum area Theta and flux Phi, found by the secant method from the guess,
// which it sets to the profile found; a flux beyond those of the family's range gives the
// range's end.
ThickLayer ThickLayerOfFlux(double momentumArea, double flux, double r0, double drdn,
                            const ProfileFamily& f, ProfileGuess& guess);

}  // namespace tarvenol
