#include <nlohmann/json.hpp>

#include <cstdlib>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "export/png_writer.h"
#include "model/thumbnail.h"

namespace quillmere::cli {

int RunRender(const TRenderArgs& args) {
  TCliSession session(args.Answers);
  TDocument document;
  bool written = false;
  if (session.OpenWhole(args.In, document)) {
    if (args.Shape >= document.Shapes.size()) {
      return NoSuchShape(args.Shape, document, session);
    }
    TThumbnailCell cell;
    cell.Background = args.Background;
    cell.Selected = args.Selected;
    const TPatchFrame& shape = document.Shapes[args.Shape];
    written = session.Guard([&] {
      TPicture picture = args.Frame ? RenderFrameCell(shape, *args.Frame, cell, session.Ui())
                                    : RenderShapeCell(shape, cell, session.Ui());
      WritePNGFile(args.Out, picture);
    });
  }
  PrintJson({{"written", written}, {"messages", session.Messages()}});
  return session.ExitStatus(written);
}

}  // namespace quillmere::cli
