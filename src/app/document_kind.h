#pragma once

namespace quillmere {

// The window's two documents.
enum class TDocumentKind { Destination, Source };

inline TDocumentKind OtherDocument(TDocumentKind kind) {
  return kind == TDocumentKind::Destination ? TDocumentKind::Source : TDocumentKind::Destination;
}

}  // namespace quillmere
