#include "ui/dialogs/property_editor_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/editing_commands.h"
#include "ui/dialogs/number_spin_box.h"
#include "ui/qt_text.h"

namespace quillmere::ui {
namespace {

constexpr char kSwitchHint[] = "If checked, sets the value";

Qt::CheckState ToQt(TCheckState state) {
  switch (state) {
    case TCheckState::Checked:
      return Qt::Checked;
    case TCheckState::Grey:
      return Qt::PartiallyChecked;
    case TCheckState::Unchecked:
      break;
  }
  return Qt::Unchecked;
}

TCheckState FromQt(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked:
      return TCheckState::Checked;
    case Qt::PartiallyChecked:
      return TCheckState::Grey;
    case Qt::Unchecked:
      break;
  }
  return TCheckState::Unchecked;
}

}  // namespace

PropertyEditorDialog::PropertyEditorDialog(TPropertyEditor& editor, bool hints, QWidget* parent)
    : QDialog(parent), editor_(editor), hints_(hints) {
  setObjectName("TPropertyEditorDialog");
  setWindowTitle("Property Editor");
  setModal(true);

  auto* range = new QHBoxLayout;
  auto* label1 = new QLabel("Currently modifying:", this);
  label1->setObjectName("Label1");
  auto* label2 = new QLabel(ToQString(editor_.RangeCaption), this);
  label2->setObjectName("Label2");
  range->addWidget(label1);
  range->addWidget(label2);
  range->addStretch(1);

  auto* groups = new QGridLayout;
  groups->addWidget(BuildFlags(), 0, 0);
  groups->addWidget(BuildPositions("Furre Position", "F", editor_.FurrePosX, editor_.FurrePosY), 0, 1);
  groups->addWidget(BuildPositions("Shape Position", "S", editor_.ShapePosX, editor_.ShapePosY), 0, 2);
  groups->addWidget(BuildAdditional(), 1, 0, 1, 2);
  groups->addWidget(BuildStatistics(), 1, 2);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton("Ok", QDialogButtonBox::AcceptRole);
  ok->setObjectName("Button1");
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("Button2");
  connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(range);
  layout->addLayout(groups);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* PropertyEditorDialog::BuildFlags() {
  auto* group = new QGroupBox("Flags", this);
  group->setObjectName("FlagBox");
  auto* column = new QVBoxLayout(group);
  const struct {
    const char* Caption;
    const char* Hint;
    TFlagBox* Model;
  } boxes[] = {
      {"Sittable", "You will auto-sit on the object when checked", &editor_.Sittable},
      {"Gettable", "You can pick the object up when checked", &editor_.Gettable},
      {"Walkable", "You can walk on the object when checked", &editor_.Walkable},
  };
  for (const auto& [caption, hint, model] : boxes) {
    auto* box = new QCheckBox(caption, group);
    box->setObjectName(caption);
    if (hints_) box->setToolTip(hint);
    box->setAccessibleDescription(hint);
    box->setTristate(model->GreyAllowed);
    box->setCheckState(ToQt(model->State));
    box->setEnabled(editor_.FlagsEnabled);
    column->addWidget(box);
    flags_.push_back({box, model});
  }
  column->addStretch(1);
  group->setEnabled(editor_.FlagsEnabled);
  return group;
}

NumberSpinBox* PropertyEditorDialog::MakeField(const QString& name, TFieldLimits limits,
                                               const TSwitchedField& model) {
  auto* field = new NumberSpinBox(limits.Min, limits.Max, this);
  field->setObjectName(name);
  field->setValue(model.Value);
  return field;
}

QCheckBox* PropertyEditorDialog::MakeSwitch(const QString& name, TSwitchedField& model,
                                            NumberSpinBox* field) {
  auto* box = new QCheckBox(this);
  box->setObjectName(name);
  box->setChecked(model.Set);
  if (hints_) box->setToolTip(kSwitchHint);
  box->setAccessibleName(field->accessibleName() + " set");
  box->setAccessibleDescription(kSwitchHint);
  rows_.push_back({field, box, &model});
  return box;
}

QWidget* PropertyEditorDialog::BuildPositions(const char* title, const char* name, TSwitchedField& x,
                                              TSwitchedField& y) {
  auto* group = new QGroupBox(title, this);
  auto* grid = new QGridLayout(group);
  const QString prefix(name);
  const std::pair<const char*, TSwitchedField*> axes[] = {{"X", &x}, {"Y", &y}};
  int row = 0;
  for (const auto& [axis, model] : axes) {
    NumberSpinBox* field = MakeField(prefix + "Pos" + axis, kPositionLimits, *model);
    field->setAccessibleName(QString("%1 %2").arg(title, axis));
    // The switches keep the form's own spelling: FposXSwitch, SposYSwitch.
    QCheckBox* set = MakeSwitch(prefix + "pos" + axis + "Switch", *model, field);
    auto* label = new QLabel(axis, group);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(set, row, 2);
    ++row;
  }
  return group;
}

QWidget* PropertyEditorDialog::BuildAdditional() {
  auto* group = new QGroupBox("FS2/Additional", this);
  auto* grid = new QGridLayout(group);

  NumberSpinBox* replacement = MakeField("FS2Pos", kReplacementLimits, editor_.ReplacementIndex);
  replacement->setAccessibleName("Shape Replacement Index");
  replacement->SetTypedFilter(TypedReplacementIndex);
  QCheckBox* replacementSet = MakeSwitch("FS2PosSwitch", editor_.ReplacementIndex, replacement);
  replacement->setEnabled(editor_.ReplacementEnabled);
  replacementSet->setEnabled(editor_.ReplacementEnabled);
  auto* replacementLabel = new QLabel("Shape Replacement Index", group);
  replacementLabel->setBuddy(replacement);

  // The initial opacity is shown, never edited: both stay disabled, and the
  // editor writes the shared value back by itself.
  NumberSpinBox* opacity = MakeField("InitOpacitySpin", kOpacityLimits, editor_.Opacity);
  opacity->setAccessibleName("Initial Opacity");
  opacity->setEnabled(false);
  auto* opacityShared = new QCheckBox(group);
  opacityShared->setObjectName("OpacityChk");
  opacityShared->setChecked(editor_.Opacity.Set);
  opacityShared->setEnabled(false);
  auto* opacityLabel = new QLabel("Initial Opacity", group);
  opacityLabel->setBuddy(opacity);

  grid->addWidget(replacementLabel, 0, 0);
  grid->addWidget(replacement, 0, 1);
  grid->addWidget(replacementSet, 0, 2);
  grid->addWidget(opacityLabel, 1, 0);
  grid->addWidget(opacity, 1, 1);
  grid->addWidget(opacityShared, 1, 2);
  grid->setColumnStretch(3, 1);
  return group;
}

QWidget* PropertyEditorDialog::BuildStatistics() {
  auto* group = new QGroupBox("Other Statistics", this);
  auto* grid = new QGridLayout(group);
  auto* frames = new QLabel(ToQString(editor_.FramesLabel), group);
  frames->setObjectName("AddFramesLab");
  auto* size = new QLabel(ToQString(editor_.SizeLabel), group);
  size->setObjectName("ObjectSizeLab");
  grid->addWidget(new QLabel("Total Frames:", group), 0, 0);
  grid->addWidget(frames, 0, 1);
  grid->addWidget(new QLabel("Object(s) Size:", group), 1, 0);
  grid->addWidget(size, 1, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

void PropertyEditorDialog::Ok() {
  for (const SwitchedRow& row : rows_) {
    row.Model->Value = row.Field->TypedValue();
    row.Model->Set = row.Switch->isChecked();
  }
  for (const FlagRow& flag : flags_) flag.Model->State = FromQt(flag.Box->checkState());
  accept();
}

void EditProperties(TWorkspace& workspace, TDocumentKind pane, bool frames, bool hints, UserInterface& ui,
                    QWidget* parent) {
  std::optional<TPropertyEditor> editor = OpenPropertyEditor(workspace, pane, frames, ui);
  if (!editor) return;
  PropertyEditorDialog dialog(*editor, hints, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyPropertiesCommand(workspace, pane, *editor);
}

}  // namespace quillmere::ui
