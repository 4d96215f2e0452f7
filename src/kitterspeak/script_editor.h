#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "interface/user_interface.h"
#include "model/patch_frame.h"

namespace quillmere {

// The most steps a shape can hold: its step count is a 16-bit field.
inline constexpr int kMaxScriptSteps = 65535;

// The editor window's caption: "Animation Editor: Shape 3".
std::string ScriptEditorCaption(int shapeIndex);

// A number field beside the command chooser, with its label. The text is kept
// as typed; only the value taken from it is cut to 16 bits.
struct TArgumentField {
  std::string Text = "0";
  std::string Label;
  bool Visible = false;
};

// The KitterSpeak editor's state without its widgets: a working copy of one
// shape's steps, the list's multiple selection, the command chooser with its
// two fields, and the list operations. The shape is touched only by
// CloseAndSave, so leaving any other way keeps its script as it was.
class TScriptEditor {
 public:
  explicit TScriptEditor(const TPatchFrame& shape);

  // The working steps; list line i always shows step i.
  const TKSScript& Steps() const { return steps_; }
  int LineCount() const { return static_cast<int>(steps_.size()); }
  std::string Line(int index) const;  // "" outside the list
  std::vector<std::string> Lines() const;

  // The list's selection; lines outside the list are ignored.
  bool IsSelected(int line) const;
  void SetSelected(int line, bool selected);
  void ClearSelection();
  std::vector<int> SelectedLines() const;

  // The chooser's entries in code order: entry i is command code i + 1.
  static std::vector<std::string> CommandTexts();
  int CommandIndex() const { return commandIndex_; }
  // Chooses an entry and shows the fields and labels of its command; an
  // index outside the entries is ignored.
  void SetCommandIndex(int index);
  // which: 0 for the first argument, anything else for the second.
  const TArgumentField& Field(int which) const { return fields_[which == 0 ? 0 : 1]; }
  void SetFieldText(int which, std::string_view text);
  // The chooser's code and both field values, the second even while hidden.
  TKSStep CurrentCommand() const;

  // Double click: loads the focused line's step into the chooser and fields,
  // while at least one line is selected.
  void LoadStep(int focusedLine);

  // Add and Insert do nothing once the script is full; CanAddSteps lets the
  // window disable them.
  bool CanAddSteps() const { return LineCount() < kMaxScriptSteps; }
  void Add();
  void Insert();
  void ModifySelected();
  void Delete();
  void MoveUp();
  void MoveDown();
  void Copy(UserInterface& ui) const;
  void Cut(UserInterface& ui);
  void Paste(UserInterface& ui);

  // "Close && Save": stores the working steps into the shape. The caller
  // marks the shape's document modified when Saved() is set.
  void CloseAndSave(TPatchFrame& shape);
  bool Saved() const { return saved_; }

 private:
  // Inserts after the last selected line, the last inserted step then being
  // the only selection; with nothing selected appends and selects nothing.
  // Returns how many steps fitted.
  std::size_t InsertSteps(const TKSScript& steps);
  bool AnySelected() const;

  TKSScript steps_;
  std::vector<char> selected_;  // one flag per line
  int commandIndex_ = 0;
  std::array<TArgumentField, 2> fields_;
  bool saved_ = false;
};

}  // namespace quillmere
