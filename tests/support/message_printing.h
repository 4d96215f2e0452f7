#pragma once

#include <ostream>
#include <vector>

#include "interface/scripted_user_interface.h"
#include "model/ks_step.h"

// Readable failure output for messages and KitterSpeak steps, found by
// GoogleTest through ADL.
namespace quillmere {

inline void PrintTo(const TMessage& m, std::ostream* os) {
  *os << "{" << m.Caption << " | " << m.Text << " | " << IconName(m.Icon) << " | " << ButtonsName(m.Buttons)
      << "}";
}

inline void PrintTo(TMsgAnswer answer, std::ostream* os) { *os << AnswerName(answer); }

// As the clipboard writes a step: command:first:second.
inline void PrintTo(const TKSStep& step, std::ostream* os) {
  *os << step.Command << ":" << step.Arg1 << ":" << step.Arg2;
}

namespace test {

// The messages a scripted interface was shown, in order, without the answers.
inline std::vector<TMessage> MessagesOf(const ScriptedUserInterface& ui) {
  std::vector<TMessage> messages;
  for (const auto& shown : ui.Shown()) messages.push_back(shown.Message);
  return messages;
}

}  // namespace test
}  // namespace quillmere
