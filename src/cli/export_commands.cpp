#include <nlohmann/json.hpp>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "export/bitmap_export.h"
#include "export/gif_export.h"
#include "kitterspeak/playback.h"

namespace quillmere::cli {
int RunExportGif(const TExportGifArgs& args) {
  TCliSession session(args.Answers);
  TDocument document;
  TGifExportResult result;
  if (session.OpenWhole(args.In, document)) {
    if (args.Shape >= document.Shapes.size()) {
      return NoSuchShape(args.Shape, document, session);
    }
    const TPatchFrame& shape = document.Shapes[args.Shape];
    TGifExportOptions options;
    options.KitterspeakMode = !args.Direct;
    options.BaseFrameDelay = ClampToLimits(args.Delay, kMinBaseFrameDelay, kMaxBaseFrameDelay);
    options.Transparent = !args.NoTransparent;
    options.IgnorePos = args.IgnorePos;
    options.Remapped = !args.ColourCode.empty();
    options.ColourCode = args.ColourCode;
    options.Optimize = args.Optimize;
    long long steps = args.Auto ? CountAnimationSteps(shape) : args.MaxSteps ? *args.MaxSteps : DefaultMaxSteps(shape);
    options.MaxSteps = ClampToLimits(steps, kMinMaxSteps, kMaxMaxSteps);
    session.Guard([&] { result = ExportAnimatedGif(shape, options, args.Out, session.Ui()); });
  }
  PrintJson({{"written", result.Written}, {"frames", result.Frames}, {"messages", session.Messages()}});
  return session.ExitStatus(result.Written);
}

int RunExportBmp(const std::string& in, std::size_t shapeIndex, const std::string& out,
                 const std::vector<std::string>& answers) {
  TCliSession session(answers);
  TDocument document;
  std::vector<std::string> files;
  bool done = false;
  if (session.OpenWhole(in, document)) {
    if (shapeIndex >= document.Shapes.size()) {
      return NoSuchShape(shapeIndex, document, session);
    }
    done = session.Guard([&] { files = ExportShapeBitmaps(document.Shapes[shapeIndex], out, session.Ui()); });
  }
  PrintJson({{"files", files}, {"messages", session.Messages()}});
  return session.ExitStatus(done);
}

}  // namespace quillmere::cli
