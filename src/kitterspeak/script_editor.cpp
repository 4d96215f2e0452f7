#include "kitterspeak/script_editor.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "interface/messages.h"
#include "model/ks_clipboard.h"
#include "model/ks_commands.h"
#include "model/ks_script.h"

namespace quillmere {

namespace {

// A field's text as a number: leading spaces, an optional sign and digits. The
// fields have no limits, so only the low 16 bits of the typed number are kept,
// taken digit by digit so that no length of text overflows. Anything else
// (empty, a lone sign, stray characters) counts as 0.
std::int16_t FieldValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  std::uint16_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = static_cast<std::uint16_t>(value * 10u + static_cast<unsigned>(text[i] - '0'));
  }
  if (negative) value = static_cast<std::uint16_t>(0u - value);
  return static_cast<std::int16_t>(value);
}

}  // namespace

std::string ScriptEditorCaption(int shapeIndex) {
  return "Animation Editor: Shape " + std::to_string(shapeIndex);
}

TScriptEditor::TScriptEditor(const TPatchFrame& shape)
    : steps_(LoadScript(shape)), selected_(steps_.size(), 0) {
  fields_[0].Label = "(step number)";
  fields_[1].Label = "times.";
  SetCommandIndex(0);
}

std::string TScriptEditor::Line(int index) const {
  if (index < 0 || index >= LineCount()) return {};
  return StepLine(index, steps_[static_cast<std::size_t>(index)]);
}

std::vector<std::string> TScriptEditor::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(steps_.size());
  for (int i = 0; i < LineCount(); ++i) lines.push_back(Line(i));
  return lines;
}

bool TScriptEditor::IsSelected(int line) const {
  return line >= 0 && line < LineCount() && selected_[static_cast<std::size_t>(line)] != 0;
}

void TScriptEditor::SetSelected(int line, bool selected) {
  if (line >= 0 && line < LineCount()) selected_[static_cast<std::size_t>(line)] = selected ? 1 : 0;
}

void TScriptEditor::ClearSelection() { selected_.assign(steps_.size(), 0); }

std::vector<int> TScriptEditor::SelectedLines() const {
  std::vector<int> lines;
  for (int i = 0; i < LineCount(); ++i) {
    if (IsSelected(i)) lines.push_back(i);
  }
  return lines;
}

bool TScriptEditor::AnySelected() const {
  return std::find(selected_.begin(), selected_.end(), 1) != selected_.end();
}

std::vector<std::string> TScriptEditor::CommandTexts() {
  std::vector<std::string> texts;
  for (int code = 1; code <= kKSCommandCount; ++code) texts.emplace_back(CommandTemplate(code));
  return texts;
}

void TScriptEditor::SetCommandIndex(int index) {
  if (index < 0 || index >= kKSCommandCount) return;
  commandIndex_ = index;
  // Labels of hidden fields stay as they were; the values are always kept.
  const int count = ArgumentCount(index + 1);
  auto [first, second] = ArgumentLabels(index + 1);
  fields_[0].Visible = count >= 1;
  fields_[1].Visible = count >= 2;
  if (count >= 1) fields_[0].Label = std::move(first);
  if (count >= 2) fields_[1].Label = std::move(second);
}

void TScriptEditor::SetFieldText(int which, std::string_view text) {
  fields_[which == 0 ? 0 : 1].Text = text;
}

TKSStep TScriptEditor::CurrentCommand() const {
  return {static_cast<std::int16_t>(commandIndex_ + 1), FieldValue(fields_[0].Text),
          FieldValue(fields_[1].Text)};
}

void TScriptEditor::LoadStep(int focusedLine) {
  if (!AnySelected() || focusedLine < 0 || focusedLine >= LineCount()) return;
  const TKSStep& step = steps_[static_cast<std::size_t>(focusedLine)];
  fields_[0].Text = std::to_string(step.Arg1);
  fields_[1].Text = std::to_string(step.Arg2);
  // A code the chooser has no entry for leaves the chooser where it is.
  if (step.Command >= 1 && step.Command <= kKSCommandCount) SetCommandIndex(step.Command - 1);
}

void TScriptEditor::Add() {
  if (!CanAddSteps()) return;
  steps_.push_back(CurrentCommand());
  ClearSelection();
  selected_.back() = 1;
}

void TScriptEditor::Insert() { InsertSteps({CurrentCommand()}); }

std::size_t TScriptEditor::InsertSteps(const TKSScript& steps) {
  const std::size_t room = kMaxScriptSteps > LineCount() ? std::size_t(kMaxScriptSteps - LineCount()) : 0;
  const std::size_t count = std::min(room, steps.size());
  if (count == 0) return 0;
  // Inserting one step at a time after the sole selection lands them in text
  // order as one block; doing it at once keeps a long paste linear.
  const auto last = std::find(selected_.rbegin(), selected_.rend(), 1);
  const bool anySelected = last != selected_.rend();
  const std::size_t at = anySelected ? std::size_t(selected_.rend() - last) : steps_.size();
  steps_.insert(steps_.begin() + std::ptrdiff_t(at), steps.begin(), steps.begin() + std::ptrdiff_t(count));
  ClearSelection();
  if (anySelected) selected_[at + count - 1] = 1;
  return count;
}

void TScriptEditor::ModifySelected() {
  const TKSStep command = CurrentCommand();
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    if (selected_[i]) steps_[i] = command;
  }
}

void TScriptEditor::Delete() {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    if (!selected_[i]) steps_[kept++] = steps_[i];
  }
  steps_.resize(kept);
  ClearSelection();
}

void TScriptEditor::MoveUp() {
  if (!AnySelected() || selected_.front()) return;
  // Going down the list, a selected line always finds the line above it
  // unselected, so a selected block moves up by one and stays selected.
  for (std::size_t i = 1; i < steps_.size(); ++i) {
    if (selected_[i]) {
      std::swap(steps_[i], steps_[i - 1]);
      std::swap(selected_[i], selected_[i - 1]);
    }
  }
}

void TScriptEditor::MoveDown() {
  if (!AnySelected() || selected_.back()) return;
  for (std::size_t i = steps_.size() - 1; i-- > 0;) {
    if (selected_[i]) {
      std::swap(steps_[i], steps_[i + 1]);
      std::swap(selected_[i], selected_[i + 1]);
    }
  }
}

void TScriptEditor::Copy(UserInterface& ui) const {
  TKSScript chosen;
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    if (selected_[i]) chosen.push_back(steps_[i]);
  }
  ui.SetClipboardText(EncodeKSClipboardText(chosen));
}

void TScriptEditor::Cut(UserInterface& ui) {
  Copy(ui);
  Delete();
}

void TScriptEditor::Paste(UserInterface& ui) {
  const TKSDecodeResult decoded = DecodeKSClipboardText(ui.ClipboardText());
  // The steps decoded before a bad record stay pasted.
  const std::size_t pasted = InsertSteps(decoded.Steps);
  if (pasted < decoded.Steps.size()) {
    Show(ui, TMsgId::ScriptFull, {std::to_string(decoded.Steps.size() - pasted)});
  }
  if (decoded.Error) ShowGeneralError(ui, *decoded.Error);
}

void TScriptEditor::CloseAndSave(TPatchFrame& shape) {
  saved_ = true;
  StoreScript(shape, steps_);
}

}  // namespace quillmere
