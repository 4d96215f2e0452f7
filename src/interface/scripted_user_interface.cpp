#include "interface/scripted_user_interface.h"

#include <algorithm>
#include <cstdio>

namespace quillmere {
namespace {

TMsgAnswer SafeAnswer(TMsgButtons buttons) {
  switch (buttons) {
    case TMsgButtons::Ok:
      return TMsgAnswer::Ok;
    case TMsgButtons::YesNo:
      return TMsgAnswer::No;
    case TMsgButtons::OkCancel:
    case TMsgButtons::YesNoCancel:
      return TMsgAnswer::Cancel;
  }
  return TMsgAnswer::Cancel;
}

// Maps an answer onto the buttons the message has: "yes" and "ok" both agree,
// "no" and "cancel" both decline, so a script need not know each box's buttons.
TMsgAnswer Fit(TMsgButtons buttons, TMsgAnswer wanted) {
  if (HasButton(buttons, wanted)) return wanted;
  const bool agree = wanted == TMsgAnswer::Yes || wanted == TMsgAnswer::Ok;
  if (agree) return HasButton(buttons, TMsgAnswer::Yes) ? TMsgAnswer::Yes : TMsgAnswer::Ok;
  if (HasButton(buttons, TMsgAnswer::Cancel) && wanted == TMsgAnswer::Cancel) return TMsgAnswer::Cancel;
  if (HasButton(buttons, TMsgAnswer::No)) return TMsgAnswer::No;
  return SafeAnswer(buttons);
}

}  // namespace

bool HasButton(TMsgButtons buttons, TMsgAnswer answer) {
  switch (buttons) {
    case TMsgButtons::Ok:
      return answer == TMsgAnswer::Ok;
    case TMsgButtons::OkCancel:
      return answer == TMsgAnswer::Ok || answer == TMsgAnswer::Cancel;
    case TMsgButtons::YesNo:
      return answer == TMsgAnswer::Yes || answer == TMsgAnswer::No;
    case TMsgButtons::YesNoCancel:
      return answer != TMsgAnswer::Ok;
  }
  return false;
}

ScriptedUserInterface::ScriptedUserInterface(std::vector<TMsgAnswer> answers)
    : answers_(std::move(answers)) {}

TMsgAnswer ScriptedUserInterface::ShowMessage(const TMessage& message) {
  TMsgAnswer answer = SafeAnswer(message.Buttons);
  // A plain OK box is not a question and takes none of the prepared answers.
  if (message.Buttons != TMsgButtons::Ok && !answers_.empty()) {
    TMsgAnswer wanted = answers_[std::min(nextAnswer_, answers_.size() - 1)];
    if (nextAnswer_ < answers_.size()) ++nextAnswer_;
    answer = Fit(message.Buttons, wanted);
  }
  shown_.push_back(TShown{message, answer});
  return answer;
}

std::optional<std::string> ScriptedUserInterface::ChooseOpenFile(const std::string& filter,
                                                                 const std::string& defaultExtension) {
  fileRequests_.push_back({false, filter, defaultExtension, ""});
  if (nextFileChoice_ >= fileChoices_.size() || fileChoices_[nextFileChoice_].empty()) {
    ++nextFileChoice_;
    return std::nullopt;
  }
  return fileChoices_[nextFileChoice_++];
}

std::optional<std::string> ScriptedUserInterface::ChooseSaveFile(const std::string& filter,
                                                                 const std::string& defaultExtension,
                                                                 const std::string& initialName) {
  fileRequests_.push_back({true, filter, defaultExtension, initialName});
  if (nextFileChoice_ >= fileChoices_.size() || fileChoices_[nextFileChoice_].empty()) {
    ++nextFileChoice_;
    return std::nullopt;
  }
  return fileChoices_[nextFileChoice_++];
}

bool ScriptedUserInterface::MoveToTrash(const std::string& fileName) {
  trashed_.push_back(fileName);
  return std::remove(fileName.c_str()) == 0;
}

void ScriptedUserInterface::DebugOutput(std::string_view line) {
  debugLines_.emplace_back(line);
  if (debugSink_) debugSink_(line);
}

void ScriptedUserInterface::Clear() {
  shown_.clear();
  debugLines_.clear();
}

}  // namespace quillmere
