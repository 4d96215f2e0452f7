#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

#include "documents/document.h"
#include "interface/scripted_user_interface.h"

namespace quillmere::cli {

// Exit statuses of every sub-command.
enum TExitStatus : int {
  kExitSuccess = 0,
  kExitIncomplete = 1,  // ended early or wrote nothing: a refusal, a declined question, an error
  kExitUsage = 2,       // bad usage, or an input that can't be opened
};

// What a sub-command run has in common: the scripted answers, the messages it
// collected, and the general error handler that turns a raised error into a
// message, as the editor's error box would show it.
class TCliSession {
 public:
  explicit TCliSession(const std::vector<std::string>& answers);

  UserInterface& Ui() { return ui_; }

  // Runs `work`; a platform error or exhausted memory becomes a general error
  // message. Returns whether `work` ended without one.
  bool Guard(const std::function<void()>& work);

  // Opens `file` as the editor opens a destination, under the general error
  // handler. Returns whether the document then holds the whole file.
  bool OpenWhole(const std::string& file, TDocument& document);

  // The exit status of a run that succeeded or not: a file that could not be
  // opened at all is bad usage, whatever followed.
  int ExitStatus(bool success) const;

  nlohmann::ordered_json Messages() const;

 private:
  ScriptedUserInterface ui_;
  bool cannotOpen_ = false;
};

// Prints the JSON of a usage error found after the input was read (a shape
// number past the end) and returns kExitUsage.
int UsageError(const std::string& text, const TCliSession& session);

// The usage error for a SHAPE argument past the end of the document.
int NoSuchShape(std::size_t shape, const TDocument& document, const TCliSession& session);

// Prints `result` as the one JSON object on stdout.
void PrintJson(const nlohmann::ordered_json& result);

}  // namespace quillmere::cli
