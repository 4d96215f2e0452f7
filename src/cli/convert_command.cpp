#include <nlohmann/json.hpp>

#include "app/platform_error.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "documents/open_shape_file.h"
#include "documents/save_destination.h"

namespace quillmere::cli {

int RunConvert(const std::string& in, const std::string& out, bool saveFBJ,
               const std::vector<std::string>& answers) {
  TCliSession session(answers);
  TDocument destination;
  bool openFailed = false;
  bool written = false;
  session.Guard([&] {
    TOpenResult opened;
    try {
      opened = OpenShapeFile(in, destination, session.Ui());
    } catch (const FileOpenError&) {
      openFailed = true;
      throw;
    }
    // A file that was not read in full is never written out as if it were.
    if (!opened.Outcome.Whole()) return;
    TSaveOptions options;
    options.SaveFBJInformation = saveFBJ;
    written = SaveDestinationFile(out, destination, session.Ui(), options);
  });

  PrintJson({{"written", written}, {"messages", session.Messages()}});
  if (openFailed) return kExitUsage;
  return written ? kExitSuccess : kExitIncomplete;
}

}  // namespace quillmere::cli
