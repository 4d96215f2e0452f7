#include "model/payload.h"

namespace quillmere {

TPayload::TPayload(const TPayload& other) = default;
TPayload::TPayload(TPayload&& other) noexcept = default;
TPayload& TPayload::operator=(const TPayload& other) = default;
TPayload& TPayload::operator=(TPayload&& other) noexcept = default;
TPayload::~TPayload() = default;

TPayload& TPayload::operator=(ByteBuffer bytes) {
  if (bytes.empty()) {
    bytes_.reset();
  } else {
    bytes_ = std::make_shared<ByteBuffer>(std::move(bytes));
  }
  return *this;
}

const ByteBuffer& TPayload::Bytes() const {
  static const ByteBuffer kEmpty;
  return bytes_ ? *bytes_ : kEmpty;
}

ByteBuffer& TPayload::Edit() {
  if (!bytes_) {
    bytes_ = std::make_shared<ByteBuffer>();
  } else if (bytes_.use_count() > 1) {
    bytes_ = std::make_shared<ByteBuffer>(*bytes_);
  }
  return *bytes_;
}

}  // namespace quillmere
