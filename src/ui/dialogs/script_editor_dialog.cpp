#include "ui/dialogs/script_editor_dialog.h"

#include "ui/dialogs/centred.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "ui/dialogs/script_preview_view.h"

namespace quillmere::ui {

namespace {

enum class TStepIcon { Up, Down, Delete, Cut, Copy, Paste };

// The list buttons' pictograms, drawn so that they need no font of symbols.
QIcon StepIcon(TStepIcon which, const QColor& ink) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  switch (which) {
    case TStepIcon::Up:
    case TStepIcon::Down: {
      const bool up = which == TStepIcon::Up;
      QPainterPath arrow;
      arrow.moveTo(8, up ? 2 : 14);
      arrow.lineTo(14, up ? 9 : 7);
      arrow.lineTo(10, up ? 9 : 7);
      arrow.lineTo(10, up ? 14 : 2);
      arrow.lineTo(6, up ? 14 : 2);
      arrow.lineTo(6, up ? 9 : 7);
      arrow.lineTo(2, up ? 9 : 7);
      arrow.closeSubpath();
      p.fillPath(arrow, ink);
      break;
    }
    case TStepIcon::Delete:
      p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
    case TStepIcon::Cut:
      p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
      p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
      p.drawLine(QPointF(6, 10), QPointF(12, 1.5));
      p.drawLine(QPointF(10, 10), QPointF(4, 1.5));
      break;
    case TStepIcon::Copy:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 1.5, 8, 10));
      p.drawRect(QRectF(5.5, 4.5, 8, 10));
      break;
    case TStepIcon::Paste:
      p.setBrush(QColor(0xd8, 0xb0, 0x70));
      p.drawRect(QRectF(2.5, 2.5, 10, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(6.5, 6.5, 7, 8));
      p.setBrush(ink);
      p.drawRect(QRectF(5.5, 1, 4, 3));
      break;
  }
  return QIcon(pixmap);
}

}  // namespace

ScriptEditorDialog::ScriptEditorDialog(TOpenedScriptEditor& opened, const TPatchFrame& shape, UserInterface& ui,
                                       bool showHints, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), editor_(opened.Editor), ui_(ui) {
  setObjectName("KSEditor");
  setWindowTitle(QString::fromStdString(opened.Caption));
  setModal(true);

  list_ = new QListWidget(this);
  list_->setObjectName("KSEditList");
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setUniformItemSizes(true);
  list_->setMinimumWidth(220);

  auto* stepLabel = new QLabel("Edit Step", this);
  stepLabel->setObjectName("StepEdLabel");
  command_ = new QComboBox(this);
  command_->setObjectName("ComboBox1");
  command_->setMaxVisibleItems(15);
  for (const std::string& text : TScriptEditor::CommandTexts()) command_->addItem(QString::fromStdString(text));

  auto* fieldsGrid = new QGridLayout;
  for (int which = 0; which < 2; ++which) {
    fields_[which] = new QLineEdit(this);
    fields_[which]->setObjectName(which == 0 ? "Spin1" : "Spin2");
    // Digits and a sign, any number of them: the editor keeps the low 16 bits.
    fields_[which]->setValidator(new QRegularExpressionValidator(QRegularExpression("[+-]?[0-9]*"), fields_[which]));
    fields_[which]->setFixedWidth(90);
    labels_[which] = new QLabel(this);
    labels_[which]->setObjectName(which == 0 ? "Text1" : "Text2");
    // Hidden fields keep their place, so the others do not jump about.
    for (QWidget* widget : {static_cast<QWidget*>(fields_[which]), static_cast<QWidget*>(labels_[which])}) {
      QSizePolicy policy = widget->sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      widget->setSizePolicy(policy);
    }
    fieldsGrid->addWidget(fields_[which], which, 0);
    fieldsGrid->addWidget(labels_[which], which, 1);
    connect(fields_[which], &QLineEdit::textEdited, this,
            [this, which](const QString& text) { editor_.SetFieldText(which, text.toStdString()); });
  }
  fieldsGrid->setColumnStretch(1, 1);

  const auto button = [this](const char* name, const char* caption) {
    auto* made = new QPushButton(caption, this);
    made->setObjectName(name);
    // Enter in a number field should not press a button, least of all "Close && Save".
    made->setAutoDefault(false);
    return made;
  };
  add_ = button("AddBtn", "Add");
  insert_ = button("InsertBtn", "Insert");
  QPushButton* modify = button("ApplyBtn", "Modify Selected");
  QPushButton* ok = button("OkBtn", "Close && Save");
  QPushButton* cancel = button("CancelBtn", "Cancel");

  const QColor ink = palette().color(QPalette::ButtonText);
  const auto iconButton = [&](const char* name, TStepIcon icon, const char* hint) {
    auto* made = new QToolButton(this);
    made->setObjectName(name);
    made->setIcon(StepIcon(icon, ink));
    made->setIconSize(QSize(16, 16));
    made->setFixedSize(28, 26);
    made->setAccessibleName(hint);
    if (showHints) made->setToolTip(hint);
    return made;
  };
  QToolButton* up = iconButton("UpBtn", TStepIcon::Up, "Move Items Up");
  QToolButton* down = iconButton("Button1", TStepIcon::Down, "Move Items Down");
  QToolButton* del = iconButton("DelBtn", TStepIcon::Delete, "Delete Items");
  QToolButton* cut = iconButton("CutBtn", TStepIcon::Cut, "Cut Items");
  QToolButton* copy = iconButton("CopyBtn", TStepIcon::Copy, "Copy Items");
  QToolButton* paste = iconButton("PasteBtn", TStepIcon::Paste, "Paste Items");
  if (showHints) modify->setToolTip("Change all selected items");

  // Every list operation runs in the editor, which the list then shows.
  const auto edit = [this](std::function<void()> operation) {
    return [this, operation = std::move(operation)] {
      operation();
      ShowSteps();
    };
  };

  // The list's pop-up menu; its keys work while the list has the focus, so
  // that the number fields keep their own cut, copy and paste.
  auto* menu = new QMenu(this);
  menu->setObjectName("PopupMenu1");
  const auto item = [&](const char* caption, const char* keys, auto slot) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(QKeySequence(keys));
    action->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(action);
    connect(action, &QAction::triggered, this, slot);
  };
  item("Cut", "Ctrl+X", edit([this] { editor_.Cut(ui_); }));
  item("Copy", "Ctrl+C", edit([this] { editor_.Copy(ui_); }));
  item("Paste", "Ctrl+V", edit([this] { editor_.Paste(ui_); }));
  item("Delete", "Del", edit([this] { editor_.Delete(); }));
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& at) { menu->exec(list_->viewport()->mapToGlobal(at)); });

  preview_ = new ScriptPreviewView(shape, ui, this);

  auto* editButtons = new QHBoxLayout;
  editButtons->addWidget(add_);
  editButtons->addWidget(insert_);
  editButtons->addWidget(modify);
  auto* listButtons = new QHBoxLayout;
  listButtons->setSpacing(2);
  for (QToolButton* tool : {up, down, del}) listButtons->addWidget(tool);
  listButtons->addSpacing(10);
  for (QToolButton* tool : {cut, copy, paste}) listButtons->addWidget(tool);
  listButtons->addStretch(1);
  auto* editColumn = new QVBoxLayout;
  editColumn->addWidget(stepLabel);
  editColumn->addWidget(command_);
  editColumn->addLayout(fieldsGrid);
  editColumn->addLayout(editButtons);
  editColumn->addSpacing(8);
  editColumn->addLayout(listButtons);
  editColumn->addStretch(1);
  auto* closeButtons = new QHBoxLayout;
  closeButtons->addStretch(1);
  closeButtons->addWidget(ok);
  closeButtons->addWidget(cancel);
  editColumn->addLayout(closeButtons);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(editColumn);
  layout->addSpacing(6);
  layout->addWidget(preview_);

  connect(command_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (showing_) return;
    editor_.SetCommandIndex(index);
    ShowCommand();
  });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { TakeSelection(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    editor_.LoadStep(list_->currentRow());
    ShowCommand();
  });
  connect(add_, &QPushButton::clicked, this, edit([this] { editor_.Add(); }));
  connect(insert_, &QPushButton::clicked, this, edit([this] { editor_.Insert(); }));
  connect(modify, &QPushButton::clicked, this, edit([this] { editor_.ModifySelected(); }));
  connect(up, &QToolButton::clicked, this, edit([this] { editor_.MoveUp(); }));
  connect(down, &QToolButton::clicked, this, edit([this] { editor_.MoveDown(); }));
  connect(del, &QToolButton::clicked, this, edit([this] { editor_.Delete(); }));
  connect(cut, &QToolButton::clicked, this, edit([this] { editor_.Cut(ui_); }));
  connect(copy, &QToolButton::clicked, this,
          edit([this] { editor_.Copy(ui_); }));
  connect(paste, &QToolButton::clicked, this, edit([this] { editor_.Paste(ui_); }));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  ShowCommand();
  ShowSteps();
  setFixedSize(sizeHint());
}

void ScriptEditorDialog::Run(TWorkspace& workspace, TDocumentKind pane, UserInterface& ui, bool showHints,
                             QWidget* window) {
  std::optional<TOpenedScriptEditor> opened = OpenScriptEditor(workspace, pane, ui);
  if (!opened) return;
  const TPatchFrame& shape = workspace.Document(pane).Shapes[opened->ShapeIndex];
  ScriptEditorDialog dialog(*opened, shape, ui, showHints, window);
  CentreOver(dialog, window);
  const bool saved = dialog.exec() == QDialog::Accepted;
  // The preview reads the shape that storing replaces the script of.
  dialog.Preview()->SetPlaying(false);
  if (saved) StoreScriptCommand(workspace, pane, opened->ShapeIndex, opened->Editor);
}

void ScriptEditorDialog::TakeSelection() {
  if (showing_) return;
  for (int line = 0; line < list_->count(); ++line) editor_.SetSelected(line, list_->item(line)->isSelected());
}

void ScriptEditorDialog::ShowSteps() {
  showing_ = true;
  const std::vector<std::string> lines = editor_.Lines();
  const int count = static_cast<int>(lines.size());
  while (list_->count() > count) delete list_->takeItem(list_->count() - 1);
  for (int i = 0; i < count; ++i) {
    const QString text = QString::fromStdString(lines[static_cast<std::size_t>(i)]);
    if (i < list_->count()) {
      if (list_->item(i)->text() != text) list_->item(i)->setText(text);
    } else {
      list_->addItem(text);
    }
  }
  QItemSelection selection;
  int last = -1;
  for (int line : editor_.SelectedLines()) {
    const QModelIndex index = list_->model()->index(line, 0);
    selection.select(index, index);
    last = line;
  }
  list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (last >= 0) {
    list_->selectionModel()->setCurrentIndex(list_->model()->index(last, 0), QItemSelectionModel::NoUpdate);
    list_->scrollToItem(list_->item(last));
  }
  showing_ = false;
  add_->setEnabled(editor_.CanAddSteps());
  insert_->setEnabled(editor_.CanAddSteps());
  preview_->SetScript(editor_.Steps());
}

void ScriptEditorDialog::ShowCommand() {
  showing_ = true;
  command_->setCurrentIndex(editor_.CommandIndex());
  for (int which = 0; which < 2; ++which) {
    const TArgumentField& field = editor_.Field(which);
    const QString text = QString::fromStdString(field.Text);
    if (fields_[which]->text() != text) fields_[which]->setText(text);
    labels_[which]->setText(QString::fromStdString(field.Label));
    fields_[which]->setVisible(field.Visible);
    labels_[which]->setVisible(field.Visible);
  }
  showing_ = false;
}

}  // namespace quillmere::ui
