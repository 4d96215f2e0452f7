#include "model/payload_memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>

// GCC names AddressSanitizer with a macro, clang only through __has_feature;
// either way payloads come from the plain heap so that overruns are seen.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLMERE_PLAIN_PAYLOADS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMERE_PLAIN_PAYLOADS 1
#endif
#endif

namespace quillmere {
namespace {

std::atomic<std::size_t> gLargestRequest{0};

void NoteRequest(std::size_t bytes) {
  std::size_t largest = gLargestRequest.load(std::memory_order_relaxed);
  while (bytes > largest &&
         !gLargestRequest.compare_exchange_weak(largest, bytes, std::memory_order_relaxed)) {
  }
}

}  // namespace

std::size_t LargestPayloadRequest() { return gLargestRequest.load(std::memory_order_relaxed); }
void ResetLargestPayloadRequest() { gLargestRequest.store(0, std::memory_order_relaxed); }

#ifdef QUILLMERE_PLAIN_PAYLOADS

void* AllocatePayload(std::size_t bytes) {
  NoteRequest(bytes);
  return ::operator new(bytes);
}
void FreePayload(void* pointer, std::size_t) noexcept { ::operator delete(pointer); }

#else

namespace {

constexpr std::size_t kHugePage = 2u << 20;
constexpr std::size_t kBlockSize = 32u << 20;      // blocks are aligned to their size
constexpr std::size_t kSmallest = 2u << 10;        // below: the general heap
constexpr std::size_t kLargest = 4u << 20;         // above: a block of its own
constexpr std::size_t kAlignment = 16;

struct TBlockHeader {
  std::size_t Live = 0;       // payloads carved from this block and not yet freed
  std::size_t Used = 0;       // bytes handed out, header included
  std::size_t Populated = 0;  // bytes backed by memory ahead of use
};

std::mutex gLock;
TBlockHeader* gCurrent = nullptr;

std::size_t RoundUp(std::size_t value, std::size_t unit) { return (value + unit - 1) / unit * unit; }

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Asking for huge pages and then backing the range in one call is both the
// fastest way to fill fresh memory and the steadiest: left to page faults, a
// huge-page range may stall for compaction in the middle of a file read.
// Kernels without these advices simply decline them.
void Prepare(void* memory, std::size_t bytes) {
  ::madvise(memory, bytes, MADV_HUGEPAGE);
  ::madvise(memory, bytes, MADV_POPULATE_WRITE);
}

void* MapHuge(std::size_t bytes) {
  void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  Prepare(memory, bytes);
  return memory;
}

// A block aligned to its own size, so a payload finds its block's header by
// masking its address.
TBlockHeader* NewBlock() {
  auto* raw = static_cast<std::uint8_t*>(::mmap(nullptr, 2 * kBlockSize, PROT_READ | PROT_WRITE,
                                                MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  if (raw == MAP_FAILED) throw std::bad_alloc();
  auto address = reinterpret_cast<std::uintptr_t>(raw);
  std::uintptr_t aligned = RoundUp(address, kBlockSize);
  if (aligned > address) ::munmap(raw, aligned - address);
  std::size_t tail = address + 2 * kBlockSize - (aligned + kBlockSize);
  if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + kBlockSize), tail);
  auto* block = reinterpret_cast<TBlockHeader*>(aligned);
  Prepare(block, kHugePage);
  block->Live = 0;
  block->Used = RoundUp(sizeof(TBlockHeader), kAlignment);
  block->Populated = kHugePage;
  return block;
}

TBlockHeader* BlockOf(void* pointer) {
  return reinterpret_cast<TBlockHeader*>(reinterpret_cast<std::uintptr_t>(pointer) & ~(kBlockSize - 1));
}

}  // namespace

void* AllocatePayload(std::size_t bytes) {
  NoteRequest(bytes);
  if (bytes < kSmallest) return ::operator new(bytes);
  if (bytes > kLargest) return MapHuge(RoundUp(bytes, kHugePage));
  std::lock_guard<std::mutex> guard(gLock);
  std::size_t size = RoundUp(bytes, kAlignment);
  if (gCurrent == nullptr || kBlockSize - gCurrent->Used < size) {
    // A full block lives on until its last payload is freed.
    if (gCurrent != nullptr && gCurrent->Live == 0) ::munmap(gCurrent, kBlockSize);
    gCurrent = NewBlock();
  }
  auto* base = reinterpret_cast<std::uint8_t*>(gCurrent);
  void* pointer = base + gCurrent->Used;
  gCurrent->Used += size;
  // The block is backed a huge page at a time as it fills, so a small
  // document does not hold a whole block's worth of memory.
  if (gCurrent->Used > gCurrent->Populated) {
    std::size_t upTo = RoundUp(gCurrent->Used, kHugePage);
    Prepare(base + gCurrent->Populated, upTo - gCurrent->Populated);
    gCurrent->Populated = upTo;
  }
  ++gCurrent->Live;
  return pointer;
}

void FreePayload(void* pointer, std::size_t bytes) noexcept {
  if (pointer == nullptr) return;
  if (bytes < kSmallest) {
    ::operator delete(pointer);
    return;
  }
  if (bytes > kLargest) {
    ::munmap(pointer, RoundUp(bytes, kHugePage));
    return;
  }
  std::lock_guard<std::mutex> guard(gLock);
  TBlockHeader* block = BlockOf(pointer);
  if (--block->Live > 0) return;
  if (block == gCurrent) {
    block->Used = RoundUp(sizeof(TBlockHeader), kAlignment);  // start the block afresh
  } else {
    ::munmap(block, kBlockSize);
  }
}

#endif

}  // namespace quillmere
