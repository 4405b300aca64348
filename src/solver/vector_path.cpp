#include "solver/vector_path.h"

namespace tarvenol {

VectorPath WidestVectorPath() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("avx512dq")) {
    return VectorPath::Avx512;
  }
  if (__builtin_cpu_supports("avx2")) return VectorPath::Avx2;
#endif
  return VectorPath::Plain;
}

std::vector<VectorPath> VectorPathsOfThisCpu() {
  std::vector<VectorPath> paths = {VectorPath::Plain};
  const VectorPath widest = WidestVectorPath();
  if (widest != VectorPath::Plain) paths.push_back(VectorPath::Avx2);
  if (widest == VectorPath::Avx512) paths.push_back(VectorPath::Avx512);
  return paths;
}

void ClearUpperHalves() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx")) {
    __asm__ volatile("vzeroupper" ::
                         : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8",
                           "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
  }
#endif
}

}  // namespace tarvenol
