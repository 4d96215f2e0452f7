#include "ui/dialogs/remove_duplicates_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere::ui {
namespace {

constexpr char kExplanation[] =
    "This feature scans for identical objects and removes them. By default, it only checks the pictures "
    "themselves.  In some cases, the graphics may be the same but have different properties intentionally. "
    "To check if these are the same to confirm or avoid a removal, check them below.";

// Labels wider than this wrap, which keeps the explanation a short paragraph.
constexpr int kTextWidth = 340;

}  // namespace

RemoveDuplicatesDialog::RemoveDuplicatesDialog(TDedupeDialogState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setObjectName("TRemDupeForm");
  setWindowTitle("Remove Duplicates from Destination");
  setModal(true);

  auto* explanation = new QLabel(kExplanation, this);
  explanation->setObjectName("Label1");
  explanation->setWordWrap(true);
  explanation->setFixedWidth(kTextWidth);

  auto* group = new QGroupBox("To match identical object, also require...", this);
  group->setObjectName("GroupBox1");
  auto* column = new QVBoxLayout(group);
  const struct {
    TDedupeBox Box;
    const char* Name;
    const char* Caption;
  } boxes[] = {
      {TDedupeBox::FurrePosition, "chkFurrePos", "Identical Furre Position"},
      {TDedupeBox::ObjectPosition, "chkObjPos", "Identical Object Position"},
      {TDedupeBox::Flags, "chkFlags", "Identical Flags"},
      {TDedupeBox::KitterSpeak, "chkKS", "Identical Kitterspeak"},
  };
  for (const auto& [box, name, caption] : boxes) {
    auto* check = new QCheckBox(caption, group);
    check->setObjectName(name);
    // The toolkit has already toggled the box when it tells of the click.
    connect(check, &QCheckBox::clicked, this, [this, box = box](bool checked) {
      state_.ClickOption(box, checked);
      ShowState();
    });
    options_[static_cast<std::size_t>(box)] = check;
    column->addWidget(check);
  }
  auto* line = new QFrame(group);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  column->addWidget(line);
  selectAll_ = new QCheckBox("Select All", group);
  selectAll_->setObjectName("chkSelectAll");
  connect(selectAll_, &QCheckBox::clicked, this, [this](bool checked) {
    state_.ReleaseOnSelectAll(checked);
    ShowState();
  });
  column->addWidget(selectAll_);

  auto* scan = new QPushButton("Scan and Remove...", this);
  scan->setObjectName("Button1");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Button2");
  connect(scan, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(scan);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowState();
}

void RemoveDuplicatesDialog::ShowState() {
  for (std::size_t i = 0; i < options_.size(); ++i) {
    options_[i]->setChecked(state_.Checked(static_cast<TDedupeBox>(i)));
  }
  selectAll_->setChecked(state_.SelectAll());
}

bool AskDedupeOptions(TDedupeDialogState& state, QWidget* parent) {
  RemoveDuplicatesDialog dialog(state, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace quillmere::ui
