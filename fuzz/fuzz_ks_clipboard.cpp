// Clipboard text pasted into the animation editor, then the pasted steps
// copied and pasted into another editor: what a copy writes must paste back
// as the same steps, without an error. The input's bytes read as 16-bit step
// fields take the same way back from the other side.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "interface/scripted_user_interface.h"
#include "kitterspeak/script_editor.h"
#include "model/ks_clipboard.h"

namespace {

using namespace quillmere;

// Copies every step of `editor` and pastes them into an empty editor.
TKSScript CopyAndPaste(TScriptEditor& editor) {
  ScriptedUserInterface ui;
  for (int line = 0; line < editor.LineCount(); ++line) editor.SetSelected(line, true);
  editor.Copy(ui);
  TScriptEditor other{TPatchFrame{}};
  other.Paste(ui);
  fuzz::Check(ui.Shown().empty(), "copied steps paste without a message");
  return other.Steps();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  const TKSDecodeResult decoded = DecodeKSClipboardText(text);

  ScriptedUserInterface ui;
  ui.SetClipboardText(std::string(text));
  TScriptEditor editor{TPatchFrame{}};
  editor.Paste(ui);
  fuzz::Check(editor.Steps() == decoded.Steps, "the editor pastes the decoded steps");
  if (!editor.Steps().empty()) {
    fuzz::Check(CopyAndPaste(editor) == decoded.Steps, "pasted steps copy and paste back unchanged");
  }

  TKSScript steps;
  for (std::size_t i = 0; i + 6 <= size; i += 6) {
    const auto field = [&](std::size_t at) { return static_cast<std::int16_t>(data[i + at] | (data[i + at + 1] << 8)); };
    steps.push_back(TKSStep{field(0), field(2), field(4)});
  }
  if (!steps.empty()) {
    const TKSDecodeResult back = DecodeKSClipboardText(EncodeKSClipboardText(steps));
    fuzz::Check(!back.Error && back.Steps == steps, "encoded steps decode to themselves");
  }
  return 0;
}
