#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "model/byte_buffer.h"

namespace quillmere {

// A frame's pixel payload, shared between copies until one of them is
// edited: copying a shape list (an undo step, a transfer's copies) then costs
// its frames' metadata, not their pixels. Reads are const and vector-like;
// the one way to write is Edit(), which first gives this payload bytes of its
// own when another copy still sees them, so a payload once shared never
// changes under its other holders. Frames are read from several threads at
// once (decoding); only the thread that owns a frame edits it.
class TPayload {
 public:
  using value_type = std::uint8_t;
  using size_type = std::size_t;
  using const_iterator = ByteBuffer::const_iterator;
  using iterator = const_iterator;

  TPayload() = default;
  // Out of line: inlined into every frame list's code, the shared pointer's
  // release trips GCC's free-nonheap-object warning.
  TPayload(const TPayload& other);
  TPayload(TPayload&& other) noexcept;
  TPayload& operator=(const TPayload& other);
  TPayload& operator=(TPayload&& other) noexcept;
  ~TPayload();
  TPayload(ByteBuffer bytes) { *this = std::move(bytes); }  // NOLINT: bytes become a payload wherever a frame is built
  TPayload(std::initializer_list<std::uint8_t> bytes) : TPayload(ByteBuffer(bytes)) {}
  TPayload& operator=(ByteBuffer bytes);

  const ByteBuffer& Bytes() const;
  operator const ByteBuffer&() const { return Bytes(); }  // NOLINT: readers take the bytes

  std::size_t size() const { return bytes_ ? bytes_->size() : 0; }
  bool empty() const { return size() == 0; }
  const std::uint8_t* data() const { return Bytes().data(); }
  const_iterator begin() const { return Bytes().begin(); }
  const_iterator end() const { return Bytes().end(); }
  std::uint8_t operator[](std::size_t i) const { return (*bytes_)[i]; }
  std::uint8_t at(std::size_t i) const { return Bytes().at(i); }

  // The bytes to change in place, no longer seen by any other copy.
  ByteBuffer& Edit();

  // Whether both hold the very same bytes (not merely equal ones).
  bool SharesBytesWith(const TPayload& other) const { return bytes_ != nullptr && bytes_ == other.bytes_; }
  // Whether no other copy holds these bytes.
  bool Unshared() const { return bytes_ == nullptr || bytes_.use_count() == 1; }

  // Shared bytes are equal without a look at them.
  bool operator==(const TPayload& other) const { return bytes_ == other.bytes_ || Bytes() == other.Bytes(); }
  bool operator==(const ByteBuffer& other) const { return Bytes() == other; }

 private:
  std::shared_ptr<ByteBuffer> bytes_;  // null while empty
};

}  // namespace quillmere
