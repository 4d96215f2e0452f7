#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "interface/scripted_user_interface.h"
#include "kitterspeak/script_editor.h"

namespace quillmere {

namespace {

TKSStep D(int n) { return {2, static_cast<std::int16_t>(n), 0}; }

// Runs one letter per action: a digit selects that line, c clears the
// selection. Returns the actions in words, for a failure to name them.
std::string Perform(TScriptEditor& e, ScriptedUserInterface& ui, std::string_view actions) {
  const std::map<char, std::pair<const char*, std::function<void()>>> act = {
      {'A', {"Add", [&] { e.Add(); }}},
      {'I', {"Insert", [&] { e.Insert(); }}},
      {'M', {"Modify", [&] { e.ModifySelected(); }}},
      {'D', {"Delete", [&] { e.Delete(); }}},
      {'U', {"Move Up", [&] { e.MoveUp(); }}},
      {'N', {"Move Down", [&] { e.MoveDown(); }}},
      {'C', {"Copy", [&] { e.Copy(ui); }}},
      {'X', {"Cut", [&] { e.Cut(ui); }}},
      {'P', {"Paste", [&] { e.Paste(ui); }}},
      {'c', {"clear the selection", [&] { e.ClearSelection(); }}}};
  std::string words;
  for (char a : actions) {
    words += words.empty() ? "" : ", ";
    if (a >= '0' && a <= '9') {
      e.SetSelected(a - '0', true);
      words += std::string("select line ") + a;
    } else {
      act.at(a).second();
      words += act.at(a).first;
    }
  }
  return words;
}

}  // namespace

// Each row starts from the steps D(0)..D(4), the chooser on Show Frame with the
// fields holding 7 and 5, and a clipboard; it lists the steps afterwards (a
// digit n for D(n), "s" for the chooser's step), the selected lines, the
// clipboard and the text shown.
TEST(ScriptEditor, OperationsKeepStepsSelectionAndClipboard) {
  const std::string bad = "KitterSpeak:2:2, 2:7:0, x:1:2";
  // clang-format off
  const std::tuple<std::string_view, std::string, std::string_view, std::string, std::string, std::string>
      cases[] = {
          // The second field is stored although Show Frame hides it.
          {"1A", "01234s", "5", "", "", ""},     {"13I", "0123s4", "4", "", "", ""},
          {"02M", "s1s34", "02", "", "", ""},    {"024D", "13", "", "", "", ""},
          {"23U", "02314", "12", "", "", ""},    {"13N", "02143", "24", "", "", ""},
          // A selection that takes in the first line can't go up, nor one with the last down.
          {"02U", "01234", "02", "", "", ""},    {"24N", "01234", "24", "", "", ""},
          {"03X", "124", "", "", "KitterSpeak:2:2, 2:0:0, 2:3:0", ""},
          {"01CcP", "0123401", "", "", "KitterSpeak:2:2, 2:0:0, 2:1:0", ""},
          {"34Cc0P", "0341234", "2", "", "KitterSpeak:2:2, 2:3:0, 2:4:0", ""},
          // Steps before a bad record stay pasted.
          {"1P", "017234", "2", bad, bad, "''x'' is not a valid integer value"},
      };
  // clang-format on
  for (const auto& [actions, steps, selection, clipboardBefore, clipboard, shown] : cases) {
    TScriptEditor editor(TPatchFrame{0, -1, {}, {D(0), D(1), D(2), D(3), D(4)}});
    ScriptedUserInterface ui;
    ui.SetClipboardText(clipboardBefore);
    editor.SetFieldText(0, "7"), editor.SetFieldText(1, "5");
    SCOPED_TRACE(Perform(editor, ui, actions));
    std::string written, selected, texts;
    for (const TKSStep& step : editor.Steps()) {
      const bool chosen = step == TKSStep{1, 7, 5}, numbered = step.Command == 2 && step.Arg2 == 0;
      written += chosen ? "s" : numbered ? std::to_string(step.Arg1) : "?";
    }
    for (int line : editor.SelectedLines()) selected += std::to_string(line);
    for (const auto& message : ui.Shown()) texts += message.Message.Text;
    EXPECT_EQ(written, steps) << "the steps";
    EXPECT_EQ(selected, selection) << "the selected lines";
    EXPECT_EQ(ui.ClipboardText(), clipboard) << "the clipboard";
    EXPECT_EQ(texts, shown) << "the messages shown";
  }
}

TEST(ScriptEditor, ChooserFieldsAndDoubleClick) {
  TScriptEditor editor(TPatchFrame{0, -1, {}, {{20, 1, 2}, {3, 4, -5}}});
  EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"[0]: (20) 1, 2", "[1]: Loop to step 4, -5 time(s)"}));
  auto shows = [&](bool v1, std::string l1, bool v2, std::string l2) {
    const TArgumentField &f1 = editor.Field(0), &f2 = editor.Field(1);
    EXPECT_EQ(std::tie(f1.Visible, f1.Label, f2.Visible, f2.Label), std::tie(v1, l1, v2, l2));
  };
  shows(true, "(frame number)", false, "times.");
  editor.SetCommandIndex(8);        // no arguments: labels stay
  editor.SetCommandIndex(13);       // no such entry
  editor.SetFieldText(0, "40000");  // kept to its low 16 bits
  EXPECT_EQ(editor.CurrentCommand(), (TKSStep{9, -25536, 0}));
  editor.LoadStep(1);  // nothing selected: ignored
  EXPECT_EQ(editor.CommandIndex(), 8);
  editor.SetSelected(0, true);
  editor.LoadStep(1);
  EXPECT_EQ(editor.CurrentCommand(), (TKSStep{3, 4, -5}));
  shows(true, "(step number)", true, "times.");
  editor.LoadStep(0);  // a code without an entry loads only the arguments
  EXPECT_EQ(editor.CurrentCommand(), (TKSStep{3, 1, 2}));
}

// The shape changes only on Close and Save, and a full script takes no more steps.
TEST(ScriptEditor, FullScriptTakesNoMoreStepsAndIsStoredOnClose) {
  TPatchFrame shape{0, -1, {}, TKSScript(kMaxScriptSteps - 1)};
  TScriptEditor editor(shape);
  ScriptedUserInterface ui;
  ui.SetClipboardText("KitterSpeak:3:3, 1:1:0, 1:2:0, 1:3:0");
  editor.Paste(ui), editor.Add(), editor.SetSelected(0, true), editor.Insert();
  EXPECT_EQ(std::tuple(shape.Script.size(), editor.Saved()), std::tuple(kMaxScriptSteps - 1, false));
  editor.CloseAndSave(shape);
  ASSERT_EQ(std::tuple(shape.Script.size(), editor.Saved()), std::tuple(kMaxScriptSteps, true));
  EXPECT_EQ(shape.Script.back(), (TKSStep{1, 1, 0}));
  ASSERT_EQ(ui.Shown().size(), 1u);
  EXPECT_EQ(ui.Shown()[0].Message.Text,
            "A KitterSpeak script holds at most 65535 steps.\r2 pasted steps were left out.");
}

}  // namespace quillmere
