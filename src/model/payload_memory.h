#pragma once

#include <cstddef>

namespace quillmere {

// Memory for frame payloads. A document of a few hundred MiB is mostly
// payloads of a few KiB each; taken from the general heap, every 4 KiB page of
// them costs a page fault when it is first filled, which is most of the time
// a load takes. Payloads are instead carved from large blocks that ask the
// kernel for transparent huge pages, and very large payloads get blocks of
// their own. A block is returned to the system when its last payload goes.
//
// Small buffers come from the general heap. In sanitizer builds everything
// does, so that bounds checks see every payload.
void* AllocatePayload(std::size_t bytes);
void FreePayload(void* pointer, std::size_t bytes) noexcept;

// The largest single request since the last reset. A reader that sizes a
// buffer for a length the file can't back gets its memory before the short
// read fails, so only the size asked for shows the mistake; tests compare it
// with the size of the file read.
std::size_t LargestPayloadRequest();
void ResetLargestPayloadRequest();

}  // namespace quillmere
