#pragma once
// The vector widths the solver's kernels are built for; one is chosen at run time from what
// the CPU has. Every lane does the plain arithmetic in the plain order and no multiply is fused
// with an add, so every path gives the same bits.

#include <vector>

namespace tarvenol {

enum class VectorPath { Plain, Avx2, Avx512 };

// The widest path this CPU runs; Plain off x86-64.
VectorPath WidestVectorPath();

// Every path this CPU runs, Plain first.
std::vector<VectorPath> VectorPathsOfThisCpu();

// Marks the upper halves of the vector registers as unused where the CPU has them. Other
// libraries (Qt's image code) may leave them in use; while they are, each instruction of code
// built for plain x86-64 pays for merging them, dozens of times over between calls of the
// VEX-coded log and atan. Called on each thread as it enters a kernel.
void ClearUpperHalves();

// The build of a kernel that path asks for, of its plain, AVX2 and AVX-512 builds.
template <class Kernel>
Kernel OnVectorPath(VectorPath path, Kernel plain, Kernel avx2, Kernel avx512) {
  if (path == VectorPath::Avx512) return avx512;
  if (path == VectorPath::Avx2) return avx2;
  return plain;
}

}  // namespace tarvenol

// Functions of a kernel's wider paths. AVX-512 brings the fused multiply-add instructions
// with it; -ffp-contract=off keeps the compiler from using them. Off x86-64 the wider paths are
// the plain code built again, which WidestVectorPath never chooses there.
#if defined(__x86_64__)
#define TARVENOL_AVX2 __attribute__((target("avx2")))
#define TARVENOL_AVX512 __attribute__((target("avx512f,avx512vl,avx512dq")))
#else
#define TARVENOL_AVX2
#define TARVENOL_AVX512
#endif
