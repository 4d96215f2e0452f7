// quillmere-cli: the editor's file handling and exports, made scriptable.
// Every sub-command prints one JSON object on stdout; diagnostics go to stderr.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "formats/atomic_file_writer.h"

namespace {

using namespace quillmere;
using namespace quillmere::cli;

// "RRGGBB" in hexadecimal, as colours are written on the web.
std::string ParseColour(const std::string& text, TRGB& colour) {
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return "a colour is six hexadecimal digits, RRGGBB";
  }
  const unsigned long value = std::stoul(text, nullptr, 16);
  colour = TRGB{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
  return {};
}

void AddAnswers(CLI::App* command, std::vector<std::string>& answers) {
  command
      ->add_option("--answer", answers,
                   "Answer to the next question the editor would ask (yes, no, ok, cancel); repeatable, "
                   "used in order, the last one repeating. Without it questions are declined.")
      ->check(CLI::IsMember({"yes", "no", "ok", "cancel"}));
}

}  // namespace

int main(int argc, char** argv) {
  // A save past the file-size limit must fail like any write, not end the program.
  quillmere::IgnoreFileSizeSignal();
  CLI::App app{"Quillmere's command-line companion: inspect, convert and export Furcadia shape files "
               "(FOX, FSH, FS2 with their FBJ companions). Shapes are numbered from 0."};
  app.name("quillmere-cli");
  app.require_subcommand(1);
  std::vector<std::string> answers;

  std::string infoFile;
  CLI::App* info = app.add_subcommand("info", "Open FILE as the editor opens a destination and describe it.");
  info->add_option("FILE", infoFile, "Shape file to open")->required();
  AddAnswers(info, answers);

  std::string convertIn, convertOut;
  bool noFBJ = false;
  CLI::App* convert = app.add_subcommand(
      "convert", "Open IN as the destination and save it as OUT (type by OUT's extension).");
  convert->add_option("IN", convertIn, "Shape file to open")->required();
  convert->add_option("OUT", convertOut, "File to save: .fox, .fs2, anything else FSH")->required();
  convert->add_flag("--no-fbj", noFBJ, "Do not write the FBJ companion beside an FSH file");
  AddAnswers(convert, answers);

  TExportGifArgs gif;
  long long maxSteps = 0;
  CLI::App* exportGif = app.add_subcommand("export-gif", "Export one shape as an animated GIF.");
  exportGif->add_option("IN", gif.In, "Shape file to open")->required();
  exportGif->add_option("SHAPE", gif.Shape, "Shape number")->required();
  exportGif->add_option("OUT", gif.Out, "GIF file to write")->required();
  exportGif->add_flag("--direct", gif.Direct, "Direct Frames: every frame once, in order (default: play the script)");
  exportGif->add_option("--delay", gif.Delay,
                        "Base Frame Delay, 1 to 1000: hundredths of a second per frame with --direct, "
                        "the script's default delay in milliseconds otherwise (default 10)");
  CLI::Option* stepsOption =
      exportGif->add_option("--max-steps", maxSteps, "Maximum Steps to play, 1 to 100000 (default: the script's step count)");
  CLI::Option* autoOption =
      exportGif->add_flag("--auto", gif.Auto, "Maximum Steps estimated from one pass of the script");
  stepsOption->excludes(autoOption);
  exportGif->add_flag("--no-transparent", gif.NoTransparent, "Palette index 0 is not transparent");
  exportGif->add_flag("--ignore-pos", gif.IgnorePos, "Write each frame at its own size, ignoring positions");
  exportGif->add_option("--colorcode", gif.ColourCode, "Remap the frames with this Furcadia colour code");
  exportGif->add_flag("--optimize", gif.Optimize,
                      "Smallest file: frames cropped to what changed, colours renumbered (pixel indices are "
                      "no longer the game palette's, so colour codes no longer apply to the frames)");
  AddAnswers(exportGif, answers);

  std::string bmpIn, bmpOut;
  std::size_t bmpShape = 0;
  CLI::App* exportBmp = app.add_subcommand(
      "export-bmp", "Write every frame of one shape as a bitmap: OUT \"x.bmp\" gives x-0.bmp, x-1.bmp, ...");
  exportBmp->add_option("IN", bmpIn, "Shape file to open")->required();
  exportBmp->add_option("SHAPE", bmpShape, "Shape number")->required();
  exportBmp->add_option("OUT", bmpOut, "Name the frame files are derived from")->required();
  AddAnswers(exportBmp, answers);

  TRenderArgs render;
  std::size_t frame = 0;
  std::string background;
  CLI::App* renderCommand =
      app.add_subcommand("render", "Paint one 120 x 120 grid cell as the editor's grid does, as a PNG file.");
  renderCommand->add_option("IN", render.In, "Shape file to open")->required();
  renderCommand->add_option("SHAPE", render.Shape, "Shape number")->required();
  renderCommand->add_option("OUT", render.Out, "PNG file to write")->required();
  CLI::Option* frameOption = renderCommand->add_option("--frame", frame, "Paint this frame's cell instead of the shape's");
  renderCommand->add_option("--background", background, "Cell background as RRGGBB (default 808080)");
  renderCommand->add_flag("--selected", render.Selected, "Paint the cell as selected");
  AddAnswers(renderCommand, answers);

  TDedupeArgs dedupe;
  bool dedupeNoFBJ = false;
  CLI::App* dedupeCommand =
      app.add_subcommand("dedupe", "Remove duplicate shapes of IN and save the rest as OUT, as convert saves.");
  dedupeCommand->add_option("IN", dedupe.In, "Shape file to open")->required();
  dedupeCommand->add_option("OUT", dedupe.Out, "File to save")->required();
  dedupeCommand->add_flag("--flags", dedupe.Options.Flags, "Identical Flags");
  dedupeCommand->add_flag("--furre-pos", dedupe.Options.FurrePosition, "Identical Furre Position");
  dedupeCommand->add_flag("--object-pos", dedupe.Options.ObjectPosition, "Identical Object Position");
  dedupeCommand->add_flag("--kitterspeak", dedupe.Options.KitterSpeak, "Identical Kitterspeak");
  dedupeCommand->add_flag("--no-fbj", dedupeNoFBJ, "Do not write the FBJ companion beside an FSH file");
  AddAnswers(dedupeCommand, answers);

  std::string paletteIn, paletteOut;
  CLI::App* paletteCommand = app.add_subcommand(
      "palette-from-text",
      "Turn a text palette into the game palette's binary layout: each line's characters 1-3, 5-7 and 9-11 "
      "are one byte each (\"199 144 186\"), so 256 lines give 768 bytes.");
  paletteCommand->add_option("IN", paletteIn, "Text palette to read")->required();
  paletteCommand->add_option("OUT", paletteOut, "Binary palette to write")->required();
  AddAnswers(paletteCommand, answers);

  try {
    app.parse(argc, argv);
    if (!background.empty()) {
      std::string problem = ParseColour(background, render.Background);
      if (!problem.empty()) throw CLI::ValidationError("--background", problem);
    }
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    std::cerr << error.what() << "\nRun with --help for usage.\n";
    PrintJson({{"error", error.what()}, {"messages", nlohmann::ordered_json::array()}});
    return kExitUsage;
  }

  if (info->parsed()) return RunInfo(infoFile, answers);
  if (convert->parsed()) return RunConvert(convertIn, convertOut, !noFBJ, answers);
  if (exportGif->parsed()) {
    if (stepsOption->count() > 0) gif.MaxSteps = maxSteps;
    gif.Answers = answers;
    return RunExportGif(gif);
  }
  if (exportBmp->parsed()) return RunExportBmp(bmpIn, bmpShape, bmpOut, answers);
  if (renderCommand->parsed()) {
    if (frameOption->count() > 0) render.Frame = frame;
    render.Answers = answers;
    return RunRender(render);
  }
  if (paletteCommand->parsed()) return RunPaletteFromText(paletteIn, paletteOut, answers);
  dedupe.SaveFBJ = !dedupeNoFBJ;
  dedupe.Answers = answers;
  return RunDedupe(dedupe);
}
