// quillmere-cli: the editor's file handling, made scriptable. Every
// sub-command prints one JSON object on stdout; diagnostics go to stderr.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>

#include "cli/cli_session.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace quillmere::cli;

  CLI::App app{"Quillmere's command-line companion: inspect and convert Furcadia shape files "
               "(FOX, FSH, FS2 with their FBJ companions)."};
  app.name("quillmere-cli");
  app.require_subcommand(1);

  std::vector<std::string> answers;
  const auto answerCheck = CLI::IsMember({"yes", "no", "ok", "cancel"});
  const char* answerHelp =
      "Answer to the next question the editor would ask (yes, no, ok, cancel); repeatable, "
      "used in order, the last one repeating. Without it questions are declined.";

  std::string infoFile;
  CLI::App* info = app.add_subcommand("info", "Open FILE as the editor opens a destination and describe it.");
  info->add_option("FILE", infoFile, "Shape file to open")->required();
  info->add_option("--answer", answers, answerHelp)->check(answerCheck);

  std::string convertIn;
  std::string convertOut;
  bool noFBJ = false;
  CLI::App* convert = app.add_subcommand(
      "convert", "Open IN as the destination and save it as OUT (type by OUT's extension).");
  convert->add_option("IN", convertIn, "Shape file to open")->required();
  convert->add_option("OUT", convertOut, "File to save: .fox, .fs2, anything else FSH")->required();
  convert->add_flag("--no-fbj", noFBJ, "Do not write the FBJ companion beside an FSH file");
  convert->add_option("--answer", answers, answerHelp)->check(answerCheck);

  try {
    app.parse(argc, argv);
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
  return RunConvert(convertIn, convertOut, !noFBJ, answers);
}
