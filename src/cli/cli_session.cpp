#include "cli/cli_session.h"

#include <iostream>
#include <new>

#include "documents/open_shape_file.h"
#include "interface/platform_error.h"

namespace quillmere::cli {
namespace {

TMsgAnswer ParseAnswer(const std::string& text) {
  if (text == "yes") return TMsgAnswer::Yes;
  if (text == "no") return TMsgAnswer::No;
  if (text == "ok") return TMsgAnswer::Ok;
  return TMsgAnswer::Cancel;
}

std::vector<TMsgAnswer> ParseAnswers(const std::vector<std::string>& answers) {
  std::vector<TMsgAnswer> parsed;
  for (const std::string& answer : answers) parsed.push_back(ParseAnswer(answer));
  return parsed;
}

}  // namespace

TCliSession::TCliSession(const std::vector<std::string>& answers) : ui_(ParseAnswers(answers)) {
  ui_.SetDebugSink([](std::string_view line) { std::cerr << line << '\n'; });
}

bool TCliSession::Guard(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const PlatformError& error) {
    ShowGeneralError(ui_, error.what());
  } catch (const std::bad_alloc&) {
    ShowGeneralError(ui_, "Out of memory.");
  }
  return false;
}

bool TCliSession::OpenWhole(const std::string& file, TDocument& document) {
  bool whole = false;
  Guard([&] {
    try {
      whole = OpenShapeFile(file, document, ui_).Outcome.Whole();
    } catch (const FileOpenError&) {
      cannotOpen_ = true;
      throw;
    }
  });
  return whole;
}

int TCliSession::ExitStatus(bool success) const {
  if (cannotOpen_) return kExitUsage;
  return success ? kExitSuccess : kExitIncomplete;
}

int UsageError(const std::string& text, const TCliSession& session) {
  std::cerr << text << '\n';
  PrintJson({{"error", text}, {"messages", session.Messages()}});
  return kExitUsage;
}

int NoSuchShape(std::size_t shape, const TDocument& document, const TCliSession& session) {
  return UsageError("There is no shape " + std::to_string(shape) + ": the file holds " +
                        std::to_string(document.Shapes.size()) + " (numbered from 0).",
                    session);
}

nlohmann::ordered_json TCliSession::Messages() const {
  nlohmann::ordered_json messages = nlohmann::ordered_json::array();
  for (const ScriptedUserInterface::TShown& shown : ui_.Shown()) {
    messages.push_back({{"caption", shown.Message.Caption},
                        {"text", shown.Message.Text},
                        {"icon", IconName(shown.Message.Icon)},
                        {"buttons", ButtonsName(shown.Message.Buttons)},
                        {"answer", AnswerName(shown.Answer)}});
  }
  return messages;
}

void PrintJson(const nlohmann::ordered_json& result) {
  // File names need not be UTF-8; replace what JSON can't carry rather than fail.
  std::cout << result.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace quillmere::cli
