#include <nlohmann/json.hpp>

#include <optional>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "documents/open_shape_file.h"
#include "interface/platform_error.h"
#include "model/sha1_digest.h"

namespace quillmere::cli {
namespace {

nlohmann::ordered_json FrameJson(const TPatchSubFrame& frame) {
  return {{"format", frame.Format},
          {"width", frame.Width},
          {"height", frame.Height},
          {"shape_x", frame.ShapePosX},
          {"shape_y", frame.ShapePosY},
          {"furre_x", frame.FurrePosX},
          {"furre_y", frame.FurrePosY},
          {"opacity", frame.Opacity},
          {"encoding", frame.Encoding},
          {"size", frame.Pixels.size()},
          {"sha1", Sha1Hex(frame.Pixels.data(), frame.Pixels.size())}};
}

nlohmann::ordered_json ShapeJson(const TPatchFrame& shape) {
  nlohmann::ordered_json frames = nlohmann::ordered_json::array();
  for (const TPatchSubFrame& frame : shape.Frames) frames.push_back(FrameJson(frame));
  nlohmann::ordered_json script = nlohmann::ordered_json::array();
  for (const TKSStep& step : shape.Script) script.push_back({step.Command, step.Arg1, step.Arg2});
  return {{"flags", shape.Flags},
          {"replacement_index", shape.ReplacementIndex},
          {"frames", std::move(frames)},
          {"script", std::move(script)}};
}

}  // namespace

int RunInfo(const std::string& file, const std::vector<std::string>& answers) {
  TCliSession session(answers);
  TDocument document;
  std::optional<TFileTypeInfo> type;
  TOpenResult opened;
  bool clean = session.Guard([&] {
    // Detected apart from the read, so the type is reported even when reading fails.
    type = DetectFileType(file);
    opened = OpenShapeFile(file, document, session.Ui());
  });

  nlohmann::ordered_json result;
  result["file"] = document.FileName;
  if (type) {
    result["type"] = FileTypeName(type->FileType);
    result["extension_matches"] = type->ExtensionMatches;
  }
  result["complete"] = clean && opened.Outcome.Complete;
  nlohmann::ordered_json shapes = nlohmann::ordered_json::array();
  for (const TPatchFrame& shape : document.Shapes) shapes.push_back(ShapeJson(shape));
  result["shapes"] = std::move(shapes);
  result["messages"] = session.Messages();
  PrintJson(result);
  if (!type) return kExitUsage;
  return clean && opened.Outcome.Whole() ? kExitSuccess : kExitIncomplete;
}

}  // namespace quillmere::cli
