#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "app/scripted_user_interface.h"
#include "kitterspeak/script_editor.h"

namespace quillmere {

namespace {

TKSStep D(int n) { return {2, static_cast<std::int16_t>(n), 0}; }

TPatchFrame FiveDelays() { return {0, -1, {}, {D(0), D(1), D(2), D(3), D(4)}}; }

// Runs one letter per action: a digit selects that line, c clears the selection.
void Perform(TScriptEditor& e, ScriptedUserInterface& ui, std::string_view actions) {
  const std::map<char, std::function<void()>> act = {
      {'A', [&] { e.Add(); }},           {'I', [&] { e.Insert(); }}, {'M', [&] { e.ModifySelected(); }},
      {'D', [&] { e.Delete(); }},        {'U', [&] { e.MoveUp(); }}, {'N', [&] { e.MoveDown(); }},
      {'C', [&] { e.Copy(ui); }},        {'X', [&] { e.Cut(ui); }},  {'P', [&] { e.Paste(ui); }},
      {'c', [&] { e.ClearSelection(); }}};
  for (char a : actions) a >= '0' && a <= '9' ? e.SetSelected(a - '0', true) : act.at(a)();
}

}  // namespace

// Each row starts from the steps D(0)..D(4), the chooser on Show Frame with the
// fields holding 7 and 5, and a clipboard; it lists the steps afterwards (a
// digit n for D(n), "s" for the chooser's step), the selected lines, the
// clipboard and the text shown.
TEST(ScriptEditor, OperationsKeepStepsSelectionAndClipboard) {
  const std::string bad = "KitterSpeak:2:2, 2:7:0, x:1:2";
  const std::tuple<std::string_view, std::string, std::string_view, std::string, std::string, std::string>
      cases[] = {
          // The second field is stored although Show Frame hides it.
          {"1A", "01234s", "5", "", "", ""},
          {"13I", "0123s4", "4", "", "", ""},
          {"I", "01234s", "", "", "", ""},
          {"02M", "s1s34", "02", "", "", ""},
          {"024D", "13", "", "", "", ""},
          {"23U", "02314", "12", "", "", ""},
          {"03U", "01234", "03", "", "", ""},
          {"13N", "02143", "24", "", "", ""},
          {"24N", "01234", "24", "", "", ""},
          {"C", "01234", "", "x", "KitterSpeak:0:0", ""},
          {"03X", "124", "", "", "KitterSpeak:2:2, 2:0:0, 2:3:0", ""},
          {"01CcP", "0123401", "", "", "KitterSpeak:2:2, 2:0:0, 2:1:0", ""},
          {"34Cc0P", "0341234", "2", "", "KitterSpeak:2:2, 2:3:0, 2:4:0", ""},
          // Steps before a bad record stay pasted; text without the prefix is not ours.
          {"1P", "017234", "2", bad, bad, "''x'' is not a valid integer value"},
          {"1P", "01234", "1", "KitterSpeak:1", "KitterSpeak:1",
           "The clipboard text holds no KitterSpeak steps."},
          {"1P", "01234", "1", "Show 1, 2:3:4", "Show 1, 2:3:4", ""},
      };
  for (const auto& [actions, steps, selection, clipboardBefore, clipboard, shown] : cases) {
    TScriptEditor editor(FiveDelays());
    ScriptedUserInterface ui;
    ui.SetClipboardText(clipboardBefore);
    editor.SetFieldText(0, "7");
    editor.SetFieldText(1, "5");
    Perform(editor, ui, actions);
    TKSScript expected;
    for (char c : steps) expected.push_back(c == 's' ? TKSStep{1, 7, 5} : D(c - '0'));
    std::string selected;
    for (int line : editor.SelectedLines()) selected += std::to_string(line);
    EXPECT_EQ(editor.Steps(), expected) << actions;
    EXPECT_EQ(selected, selection) << actions;
    EXPECT_EQ(ui.ClipboardText(), clipboard) << actions;
    EXPECT_EQ(ui.Shown().empty() ? "" : ui.Shown().back().Message.Text, shown) << actions;
    EXPECT_LE(ui.Shown().size(), 1u) << actions;
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
  editor.SetCommandIndex(8);  // no arguments: labels stay
  shows(false, "(frame number)", false, "times.");
  editor.SetCommandIndex(13);  // no such entry
  EXPECT_EQ(editor.CommandIndex(), 8);
  const std::pair<const char*, std::int16_t> values[] = {
      {"", 0},       {"-", 0},
      {"+12", 12},   {"40000", -25536},
      {"65535", -1}, {"-70000", -4464},
      {"1x", 0},     {"99999999999999999999", -1}};  // 10^20 - 1 has 0xFFFF as its low 16 bits
  for (const auto& [text, value] : values) {
    editor.SetFieldText(0, text);
    EXPECT_EQ(editor.CurrentCommand(), (TKSStep{9, value, 0})) << text;
  }
  editor.LoadStep(1);  // nothing selected: ignored
  EXPECT_EQ(editor.CommandIndex(), 8);
  editor.SetSelected(0, true);
  editor.LoadStep(1);
  EXPECT_EQ(editor.CurrentCommand(), (TKSStep{3, 4, -5}));
  shows(true, "(step number)", true, "times.");
  editor.LoadStep(0);  // a code without an entry loads only the arguments
  EXPECT_EQ(editor.CurrentCommand(), (TKSStep{3, 1, 2}));
}

TEST(ScriptEditor, ShapeChangesOnlyOnCloseAndSave) {
  TPatchFrame shape = FiveDelays();
  TScriptEditor editor(shape);
  editor.SetSelected(2, true), editor.Delete();
  EXPECT_EQ(shape, FiveDelays());
  EXPECT_FALSE(editor.Saved());
  editor.CloseAndSave(shape);
  EXPECT_TRUE(editor.Saved());
  EXPECT_EQ(shape.Script, (TKSScript{D(0), D(1), D(3), D(4)}));
}

TEST(ScriptEditor, FullScriptTakesNoMoreSteps) {
  TScriptEditor editor(TPatchFrame{0, -1, {}, TKSScript(kMaxScriptSteps - 1)});
  ScriptedUserInterface ui;
  ui.SetClipboardText("KitterSpeak:3:3, 1:1:0, 1:2:0, 1:3:0");
  editor.Paste(ui), editor.Add(), editor.SetSelected(0, true), editor.Insert();
  ASSERT_EQ(editor.LineCount(), kMaxScriptSteps);
  EXPECT_EQ(editor.Steps().back(), (TKSStep{1, 1, 0}));
  ASSERT_EQ(ui.Shown().size(), 1u);
  EXPECT_EQ(ui.Shown()[0].Message.Text,
            "A KitterSpeak script holds at most 65535 steps.\r2 pasted steps were left out.");
}

}  // namespace quillmere
