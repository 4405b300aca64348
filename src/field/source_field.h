#pragma once
// The velocity that the panels' source distributions induce anywhere around the body, for
// several sets of source strengths at once (the axial and the transverse stream), fast: far from
// a group of panels, the multipole expansion of its sources stands in for them.
//
// The panels are grouped in a tree by halving the longest side of each group's box. Each panel
// stands as the sources q of the points of a Gauss rule on it. A group of radius rho about its
// centre is taken as its expansion to order p at a point at distance R > rho when
//   B(p + 1) F(rho / R, p) / R^2 + 2 A F(h / (R - rho), kExactDegree) / (R - rho)^2
//     <= A 4 pi eps / A_all,
//   F(t, p) = t^(p + 1) ((2p + 3) / (1 - t) + 2t / (1 - t)^2),  B(k) = sum |q| (r / rho)^k,
// where the sums run over the group's sources of every set, r their distance from the centre,
// A = B(0), A_all the same over all panels, and h the largest radius of a panel of the group.
// The gradient of the n-th term of the expansion of 1 / |P - Q| is at most
// (2n + 1) r^n / R^(n + 2), and r^n <= r^(p + 1) rho^(n - p - 1), so the first term bounds what
// the truncated expansion leaves out; the Gauss rule is exact for every term up to degree
// kExactDegree about each panel's control point, and the second term bounds the rest, in the
// rule and in the panel alike. A group so taken errs by at most eps A / A_all, so the velocity
// of any sum of the sets whose weights are at most 1 in size (cos a and sin a) errs by at most
// eps all together. Groups are taken from about three of their radii on; nearer ones are opened,
// down to the panels, which take the exact formula (field_velocity.h).

#include <array>
#include <memory>
#include <vector>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"
#include "solver/field_velocity.h"
#include "solver/vector_path.h"

namespace tarvenol {

// The bound eps on the error of the expansions, in units of the onset stream.
inline constexpr double kFarFieldTolerance = 2e-8;

class SourceField {
 public:
  // The panels of s with the source strengths sigma[f] (by panel, [0..NI, 0..NJ]) of each set,
  // at most kMaxFieldFlows of them. A tolerance of 0 takes every panel by the exact formula:
  // the direct sum. Where progress is given, the tree and the expansions tell it how far they
  // have come at Stage::FlowField, at every few leaves of the tree, and throw
  // Cancelled when it asks them to stop.
  SourceField(const ModelState& s, const std::vector<const Array2*>& sigma,
              double tolerance = kFarFieldTolerance, VectorPath path = WidestVectorPath(),
              Progress* progress = nullptr);

  int Flows() const { return flows_; }

  // Adds to V[f] the velocity the sources of set f induce at point, along the body's axes:
  // nothing beyond about 1e9 of the body's size, where all of it is below 2^-60 of the stream.
  void AddInduced(const double point[3], double V[][3]) const;

  // The sum of a node's expansion at a point, on a vector path.
  using Expansion = void (*)(const double* G, int flows, double dx, double dy, double dz, int p,
                             double V[][3]);

 private:
  struct Node {
    int begin = 0, end = 0;         // panels, in the tree's order
    std::size_t child[2] = {0, 0};  // none for a leaf: the root is no node's child
    int depth = 0;                  // 0 at the root
    double centre[3] = {0, 0, 0};
    double radius = 0;       // of the sphere about centre holding its panels
    double panelRadius = 0;  // the largest of its panels' radii about their control points
    bool Leaf() const { return child[0] == 0; }
  };

  std::size_t Build(std::vector<int>& order, int begin, int end, int depth,
                    const std::vector<double>& corners, const std::vector<double>& controls,
                    const std::vector<std::size_t>& cornerCount, Progress* progress);
  // The expansions' coefficients, and the budget of the bound (source_moments.cpp), in phases:
  // the charges of the panels' Gauss points, the leaves' moments and every node's reach, the
  // inner nodes' moments from their children's, and the gradients' coefficients.
  void Moments(const ModelState& s, const std::vector<int>& order, double tolerance,
               VectorPath path, Progress* progress);
  struct GaussSources {
    std::unique_ptr<double[]> x, y, z;
    std::array<std::unique_ptr<double[]>, kMaxFieldFlows> q;  // charges of each set
  };
  struct NodeMoments {
    std::unique_ptr<double[]> re, im;  // for each node and set, the moments M_lm
  };
  GaussSources GaussCharges(const ModelState& s, const std::vector<int>& order,
                            Progress* progress) const;
  NodeMoments LeafMoments(const GaussSources& g, VectorPath path, Progress* progress);
  void TranslateMoments(NodeMoments& M, Progress* progress) const;
  void Gradients(const NodeMoments& M, Progress* progress);
  // The order of expansion that meets the bound for node n at distance R, or -1 for none.
  int OrderFor(std::size_t n, double R) const;

  int flows_ = 0;
  FieldPanels panels_;
  std::array<std::vector<double>, kMaxFieldFlows> sigma_;  // in the tree's order
  std::vector<Node> nodes_;
  // For each node, flow and component of the velocity: the coefficients G of
  // V = Re sum G_lm I_lm(point - centre), as real parts then imaginary parts.
  std::unique_ptr<double[]> gradient_;
  // For each node, k = 0..kMaxOrder + 1: the sum over its sources q, of every set, of
  // |q| (r / rho)^k, r their distance from the centre: k = 0 is its share of A.
  std::vector<double> reach_;
  double budget_ = 0;  // 4 pi eps / A; 0 for the direct sum
  // Lengths here are the model's times unit_, a power of two (LengthUnit); beyond farDistance_
  // from the root's centre the sources induce nothing a double can hold beside the stream.
  double unit_ = 1;
  double farDistance_ = 0;
  FieldKernel kernel_;
  Expansion expansion_;
};

}  // namespace tarvenol
