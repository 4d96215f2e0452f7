#pragma once

#include <cstdint>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

#include "model/payload_memory.h"

namespace quillmere {

// Allocator of payload buffers: memory from AllocatePayload, and new elements
// left uninitialised when resized, so that a buffer sized for a file read is
// not first filled with zeros.
template <typename T>
struct PayloadAllocator {
  using value_type = T;

  PayloadAllocator() = default;
  template <typename U>
  PayloadAllocator(const PayloadAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) { return static_cast<T*>(AllocatePayload(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { FreePayload(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const PayloadAllocator<U>&) const noexcept {
    return true;
  }

  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// A frame's pixel payload: the bytes exactly as a shape file stores them.
using ByteBuffer = std::vector<std::uint8_t, PayloadAllocator<std::uint8_t>>;

}  // namespace quillmere
