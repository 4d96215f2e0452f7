#pragma once

#include <functional>
#include <string>
#include <vector>

#include "interface/user_interface.h"

namespace quillmere {

// Answers questions from a prepared list and records everything shown, for
// batch use and for tests. The answers are used in order and the last one
// repeats; "yes" and "ok" both agree, "no" and "cancel" both decline, so a
// script need not know each box's buttons. A plain OK box takes no answer.
// Without answers a question gets the safe way out: Cancel where the message
// has it, No for Yes/No.
class ScriptedUserInterface : public UserInterface {
 public:
  struct TShown {
    TMessage Message;
    TMsgAnswer Answer;
  };

  ScriptedUserInterface() = default;
  explicit ScriptedUserInterface(std::vector<TMsgAnswer> answers);

  TMsgAnswer ShowMessage(const TMessage& message) override;
  void DebugOutput(std::string_view line) override;
  // File choices come from a prepared list, in order; an empty entry (or
  // running out) is a cancelled dialog. Each request is recorded.
  std::optional<std::string> ChooseOpenFile(const std::string& filter, const std::string& defaultExtension) override;
  std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& defaultExtension,
                                            const std::string& initialName) override;
  void SetFileChoices(std::vector<std::string> choices) { fileChoices_ = std::move(choices); }
  struct TFileRequest {
    bool Save = false;
    std::string Filter;
    std::string DefaultExtension;
    std::string InitialName;
  };
  const std::vector<TFileRequest>& FileRequests() const { return fileRequests_; }

  // Records the names; the files themselves are removed, as a trash would.
  bool MoveToTrash(const std::string& fileName) override;
  const std::vector<std::string>& Trashed() const { return trashed_; }

  // A clipboard of its own, which tests may fill and read.
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }

  // Called for each diagnostic line as it arrives (the command-line tool
  // prints them on stderr).
  void SetDebugSink(std::function<void(std::string_view)> sink) { debugSink_ = std::move(sink); }

  const std::vector<TShown>& Shown() const { return shown_; }
  const std::vector<std::string>& DebugLines() const { return debugLines_; }
  void Clear();

 private:
  std::vector<TMsgAnswer> answers_;
  std::size_t nextAnswer_ = 0;
  std::vector<TShown> shown_;
  std::vector<std::string> debugLines_;
  std::string clipboard_;
  std::vector<std::string> fileChoices_;
  std::size_t nextFileChoice_ = 0;
  std::vector<TFileRequest> fileRequests_;
  std::vector<std::string> trashed_;
  std::function<void(std::string_view)> debugSink_;
};

// True when `answer` is one of the buttons of `buttons`.
bool HasButton(TMsgButtons buttons, TMsgAnswer answer);

}  // namespace quillmere
