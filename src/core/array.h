#pragma once
// Dense arrays of one, two or three indices, each running from 0 up to its limit.
// An array is created whole and zero-filled; it is never resized, only replaced
// by a new one. With TARVENOL_CHECKED every index is checked against its limit.

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <vector>

namespace tarvenol {

[[noreturn]] inline void ArrayIndexFault(std::size_t index, std::size_t limit) {
  std::fprintf(stderr, "array index %zu outside 0..%zu\n", index, limit);
  std::abort();
}

// Storage that comes zero-filled from the system: a large array is not written twice, and its
// pages are first touched by the threads that fill it, not all by the one that creates it.
template <typename T>
struct ZeroedStorage {
  static_assert(std::is_arithmetic_v<T>, "zero bytes must be the element's zero");
  using value_type = T;
  ZeroedStorage() = default;
  template <typename U>
  ZeroedStorage(const ZeroedStorage<U>&) {}
  T* allocate(std::size_t n) {
    if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t) { std::free(p); }
  // An element made without a value keeps calloc's zero bytes, which are its zero.
  template <typename U>
  void construct(U*) {}
  template <typename U, typename V>
  void construct(U* p, V&& v) {
    ::new (static_cast<void*>(p)) U(static_cast<V&&>(v));
  }
  bool operator==(const ZeroedStorage&) const { return true; }
};

template <typename T, std::size_t Rank>
class DenseArray {
  static_assert(Rank >= 1 && Rank <= 3);

 public:
  DenseArray() = default;

  // Limits are the highest index of each dimension, so dimension d holds limit_d + 1 elements.
  template <typename... Limits>
  requires(sizeof...(Limits) == Rank) explicit DenseArray(Limits... limits)
      : extent_{static_cast<std::size_t>(limits) + 1 ...}, data_(ElementCount(extent_)) {}

  bool Empty() const { return data_.empty(); }
  std::size_t Limit(std::size_t dim) const { return data_.empty() ? 0 : extent_[dim] - 1; }
  std::size_t Size() const { return data_.size(); }

  template <typename... Index>
  requires(sizeof...(Index) == Rank) T& operator()(Index... index) {
    return data_[Offset({static_cast<std::size_t>(index)...})];
  }
  template <typename... Index>
  requires(sizeof...(Index) == Rank) const T& operator()(Index... index) const {
    return data_[Offset({static_cast<std::size_t>(index)...})];
  }

  // Contiguous elements of row i of a two-index array: Row(i)[j] is (i, j).
  T* Row(std::size_t i) requires(Rank == 2) {
    Check(i, 0);
    return data_.data() + i * extent_[1];
  }
  const T* Row(std::size_t i) const requires(Rank == 2) {
    Check(i, 0);
    return data_.data() + i * extent_[1];
  }

 private:
  static std::size_t ElementCount(const std::array<std::size_t, Rank>& extent) {
    std::size_t n = 1;
    for (std::size_t e : extent) n *= e;
    return n;
  }

  void Check([[maybe_unused]] std::size_t index, [[maybe_unused]] std::size_t dim) const {
#ifdef TARVENOL_CHECKED
    if (data_.empty() || index >= extent_[dim]) {
      ArrayIndexFault(index, data_.empty() ? 0 : extent_[dim] - 1);
    }
#endif
  }

  std::size_t Offset(const std::array<std::size_t, Rank>& index) const {
    std::size_t offset = 0;
    for (std::size_t d = 0; d < Rank; ++d) {
      Check(index[d], d);
      offset = offset * extent_[d] + index[d];
    }
    return offset;
  }

  std::array<std::size_t, Rank> extent_{};
  std::vector<T, ZeroedStorage<T>> data_;
};

using Array1 = DenseArray<double, 1>;
using Array2 = DenseArray<double, 2>;
using Array3 = DenseArray<double, 3>;

}  // namespace tarvenol
