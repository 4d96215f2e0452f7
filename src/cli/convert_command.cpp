#include <nlohmann/json.hpp>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "documents/save_destination.h"

namespace quillmere::cli {

int RunConvert(const std::string& in, const std::string& out, bool saveFBJ,
               const std::vector<std::string>& answers) {
  TCliSession session(answers);
  TDocument destination;
  bool written = false;
  // A file that was not read in full is never written out as if it were.
  if (session.OpenWhole(in, destination)) {
    session.Guard([&] {
      TSaveOptions options;
      options.SaveFBJInformation = saveFBJ;
      written = SaveDestinationFile(out, destination, session.Ui(), options);
    });
  }
  PrintJson({{"written", written}, {"messages", session.Messages()}});
  return session.ExitStatus(written);
}

}  // namespace quillmere::cli
