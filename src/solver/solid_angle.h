#pragma once
// Internal to the solver library: only its own files and its tests include it.
// The solid angle under which a plane polygon is seen, by the formula of Van Oosterom and
// Strackee (IEEE Trans. Biomed. Eng. 30, 1983): continuous wherever the point lies off the
// polygon, in its plane and on the lines of its edges too. Inline, so that each vector path of
// its callers gets its own, with the same operations in the same order.

#include <cmath>
#include <numbers>

namespace tarvenol {

// Triangle a, b, c of corners seen from the field point (the vectors from it to the corners,
// with their lengths): den + i det has half the solid angle as its argument, scaled by the
// lengths so that it stays of order one however far the point is. det > 0 where the corners
// run clockwise seen from the point.
[[gnu::always_inline]] inline void HalfSolidAngle(const double a[3], double ra, const double b[3],
                                                  double rb, const double c[3], double rc,
                                                  double& den, double& det) {
  const double bc0 = b[1] * c[2] - b[2] * c[1];
  const double bc1 = b[2] * c[0] - b[0] * c[2];
  const double bc2 = b[0] * c[1] - b[1] * c[0];
  const double ab = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const double ac = a[0] * c[0] + a[1] * c[1] + a[2] * c[2];
  const double bcDot = b[0] * c[0] + b[1] * c[1] + b[2] * c[2];
  const double scale = ra * rb * rc;
  det = (a[0] * bc0 + a[1] * bc1 + a[2] * bc2) / scale;
  den = (scale + ab * rc + ac * rb + bcDot * ra) / scale;
}

// The solid angle of a polygon of corners 0..3 (corner 3 may repeat corner 0) as seen from the
// point: the fan triangles' complex numbers multiplied, so one atan2 takes the sum of their
// angles. Seen from one side of a plane polygon the solid angle lies in (-2 pi, 2 pi), so half of
// it is the product's argument. Returns the product's (re, im).
[[gnu::always_inline]] inline void PolygonHalfAngle(const double c[4][3], const double r[4],
                                                    double& re, double& im) {
  double den1, det1, den2, det2;
  HalfSolidAngle(c[0], r[0], c[1], r[1], c[2], r[2], den1, det1);
  HalfSolidAngle(c[0], r[0], c[2], r[2], c[3], r[3], den2, det2);
  re = den1 * den2 - det1 * det2;
  im = den1 * det2 + det1 * den2;
}

// The normal velocity, along Zta, that unit source strength on the polygon of corners
// (xi[k], eta[k], 0), k = 0..3, induces at (x, y, z) in its axes: the solid angle over 4 pi.
[[gnu::always_inline]] inline double SolidAngleNormalVelocity(const double xi[4],
                                                              const double eta[4], double x,
                                                              double y, double z) {
  double c[4][3], r[4];
  for (int k = 0; k < 4; ++k) {
    c[k][0] = xi[k] - x;
    c[k][1] = eta[k] - y;
    c[k][2] = -z;
    r[k] = std::sqrt(c[k][0] * c[k][0] + c[k][1] * c[k][1] + z * z);
  }
  double re, im;
  PolygonHalfAngle(c, r, re, im);
  return std::atan2(im, re) / (2 * std::numbers::pi);
}

}  // namespace tarvenol
