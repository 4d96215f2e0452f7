#include <nlohmann/json.hpp>

#include "cli/cli_session.h"
#include "cli/commands.h"
#include "documents/save_destination.h"
#include "editing/remove_duplicates.h"

namespace quillmere::cli {

int RunDedupe(const TDedupeArgs& args) {
  TCliSession session(args.Answers);
  TDocument destination;
  int before = 0;
  int after = 0;
  bool written = false;
  if (session.OpenWhole(args.In, destination)) {
    before = static_cast<int>(destination.Shapes.size());
    RemoveDuplicateShapes(destination.Shapes, args.Options);
    after = static_cast<int>(destination.Shapes.size());
    session.Ui().ShowMessage(DuplicateRemovalMessage(before, after));
    destination.Modified = after != before;
    session.Guard([&] {
      TSaveOptions options;
      options.SaveFBJInformation = args.SaveFBJ;
      written = SaveDestinationFile(args.Out, destination, session.Ui(), options);
    });
  }
  PrintJson({{"before", before},
             {"after", after},
             {"removed", before - after},
             {"written", written},
             {"messages", session.Messages()}});
  return session.ExitStatus(written);
}

}  // namespace quillmere::cli
