#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editing/remove_duplicates.h"
#include "model/shape_palette.h"

namespace quillmere::cli {

// `info FILE`: opens FILE as the editor opens a destination and describes it.
int RunInfo(const std::string& file, const std::vector<std::string>& answers);

// `convert IN OUT`: opens IN as the destination, saves it as OUT as
// "Save Destination As" does.
int RunConvert(const std::string& in, const std::string& out, bool saveFBJ,
               const std::vector<std::string>& answers);

struct TExportGifArgs {
  std::string In;
  std::size_t Shape = 0;
  std::string Out;
  bool Direct = false;
  long long Delay = 10;
  std::optional<long long> MaxSteps;
  bool Auto = false;
  bool NoTransparent = false;
  bool IgnorePos = false;
  std::string ColourCode;
  bool Optimize = false;
  std::vector<std::string> Answers;
};

// `export-gif IN SHAPE OUT`: one shape as an animated GIF, with the export
// dialog's options and defaults.
int RunExportGif(const TExportGifArgs& args);

// `export-bmp IN SHAPE OUT`: every frame of one shape as a bitmap named after OUT.
int RunExportBmp(const std::string& in, std::size_t shape, const std::string& out,
                 const std::vector<std::string>& answers);

struct TRenderArgs {
  std::string In;
  std::size_t Shape = 0;
  std::optional<std::size_t> Frame;
  TRGB Background{0x80, 0x80, 0x80};
  bool Selected = false;
  std::string Out;
  std::vector<std::string> Answers;
};

// `render IN SHAPE OUT.png`: one grid cell as the grid paints it.
int RunRender(const TRenderArgs& args);

struct TDedupeArgs {
  std::string In;
  std::string Out;
  TDedupeOptions Options;
  bool SaveFBJ = true;
  std::vector<std::string> Answers;
};

// `dedupe IN OUT`: removes duplicate shapes and saves as `convert` does.
int RunDedupe(const TDedupeArgs& args);

// `palette-from-text IN OUT`: the palette converter, a text palette of three
// byte columns a line written as the binary game palette layout.
int RunPaletteFromText(const std::string& in, const std::string& out, const std::vector<std::string>& answers);

}  // namespace quillmere::cli
