#pragma once

namespace quillmere {

// What a shape file's content says it is.
enum class TShapeFileType {
  ftFSHPlain,  // no signature matched: read as FSH
  ftFSH,       // "FSH1" in the 8-byte trailer
  ftFS2,       // starts with "FSH2."
  ftFOX,       // starts with "FSHX"
};

}  // namespace quillmere
