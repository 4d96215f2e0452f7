#include <nlohmann/json.hpp>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "export/palette_text.h"

namespace quillmere::cli {

int RunPaletteFromText(const std::string& in, const std::string& out, const std::vector<std::string>& answers) {
  TCliSession session(answers);
  int entries = 0;
  bool cannotOpen = false;
  const bool written = session.Guard([&] {
    try {
      entries = ConvertTextPalette(in, out, session.Ui());
    } catch (const FileOpenError&) {
      cannotOpen = true;
      throw;
    }
  });
  PrintJson({{"written", written}, {"entries", entries}, {"messages", session.Messages()}});
  return cannotOpen ? kExitUsage : session.ExitStatus(written);
}

}  // namespace quillmere::cli
