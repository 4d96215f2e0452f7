#include "ui/dialogs/gif_export_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <climits>
#include <memory>

#include "ui/dialogs/centred.h"

namespace quillmere::ui {
namespace {

// Typing is held to what could be a number; the core decides what it means.
QLineEdit* NumberField(QWidget* parent, const char* name) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setValidator(new QRegularExpressionValidator(QRegularExpression("[+-]?[0-9]{0,12}"), field));
  field->setMaximumWidth(60);
  return field;
}

// The progress box of one export. The core reports after every frame; the
// box is painted and its Cancel read only every few milliseconds, so a
// thousand small frames cost no more than a handful of repaints.
class ExportProgress {
 public:
  explicit ExportProgress(QWidget* owner) : owner_(owner) {}

  bool operator()(const TGifSeriesProgress& progress) {
    if (!box_ || file_ != progress.File) Start(progress);
    if (sinceEvents_.elapsed() < 30 && progress.Export.Done != progress.Export.Total) return true;
    sinceEvents_.restart();
    box_->setLabelText(QString::fromStdString(GifProgressText(progress)));
    if (progress.Export.Phase == TGifExportPhase::Measuring) {
      box_->setRange(0, 0);
    } else {
      box_->setRange(0, progress.Export.Total);
      box_->setValue(progress.Export.Done);
    }
    if (!box_->isVisible() && sinceStart_.elapsed() >= delay_) {
      box_->show();
      CentreOver(*box_, owner_);
    }
    // Until the box shows, nothing may reach the window: a click there
    // would start another command in the middle of this one.
    QApplication::processEvents(box_->isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !box_->wasCanceled();
  }

  // The box goes between exports: the next dialog, or a message about the
  // file, is what the person looks at then.
  void Finish() { box_.reset(); }

 private:
  void Start(const TGifSeriesProgress& progress) {
    file_ = progress.File;
    delay_ = GifProgressDelay(progress.Files);
    box_ = std::make_unique<QProgressDialog>(owner_);
    box_->setObjectName("GifExportProgress");
    box_->setWindowTitle("GIF Export");
    box_->setWindowModality(Qt::ApplicationModal);
    // Shown here when due, never by the box's own timer.
    box_->setMinimumDuration(INT_MAX);
    box_->setAutoClose(false);
    box_->setAutoReset(false);
    box_->setMinimumWidth(320);
    box_->hide();
    sinceStart_.start();
    sinceEvents_.start();
  }

  QWidget* owner_;
  int delay_ = 0;
  int file_ = 0;
  std::unique_ptr<QProgressDialog> box_;
  QElapsedTimer sinceStart_;
  QElapsedTimer sinceEvents_;
};

}  // namespace

GifExportDialog::GifExportDialog(QWidget* owner) : QDialog(owner) {
  setObjectName("GifExportDialog");
  setWindowTitle("GIF Export");
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setModal(true);

  auto* modeGroup = new QGroupBox("GIF Export Mode", this);
  modeGroup->setObjectName("GIFOpts");
  direct_ = new QRadioButton("Direct Frames", modeGroup);
  kitterspeak_ = new QRadioButton("Kitterspeak Animation", modeGroup);
  auto* modeLayout = new QVBoxLayout(modeGroup);
  modeLayout->setSpacing(2);
  modeLayout->addWidget(direct_);
  modeLayout->addWidget(kitterspeak_);

  auto* optionsGroup = new QGroupBox("Mode Options", this);
  delay_ = NumberField(optionsGroup, "BaseFrameDelay");
  transparent_ = new QCheckBox("Transparent", optionsGroup);
  transparent_->setObjectName("TranspChk");
  ignorePos_ = new QCheckBox("Ignore Pos", optionsGroup);
  ignorePos_->setObjectName("PosIgnoreChk");
  remapped_ = new QCheckBox("Remapped", optionsGroup);
  remapped_->setObjectName("RemapChk");
  colourCode_ = new QLineEdit(optionsGroup);
  colourCode_->setObjectName("CCodeEdit");
  optimize_ = new QCheckBox("Smallest file (renumbers colours)", optionsGroup);
  optimize_->setObjectName("OptimizeChk");
  auto* optionsLayout = new QGridLayout(optionsGroup);
  optionsLayout->setVerticalSpacing(2);
  auto* delayLabel = new QLabel("Base Frame Delay", optionsGroup);
  delayLabel->setBuddy(delay_);
  optionsLayout->addWidget(delayLabel, 0, 0);
  optionsLayout->addWidget(delay_, 0, 1);
  optionsLayout->addWidget(transparent_, 1, 0);
  optionsLayout->addWidget(ignorePos_, 1, 1);
  optionsLayout->addWidget(remapped_, 2, 0);
  auto* codeLabel = new QLabel("Colorcode", optionsGroup);
  codeLabel->setBuddy(colourCode_);
  optionsLayout->addWidget(codeLabel, 3, 0);
  optionsLayout->addWidget(colourCode_, 3, 1);
  optionsLayout->addWidget(optimize_, 4, 0, 1, 2);

  auto* ksGroup = new QGroupBox("KS-Specific", this);
  maxSteps_ = NumberField(ksGroup, "MaxFrames");
  auto* autoButton = new QPushButton("Auto", ksGroup);
  autoButton->setObjectName("Button3");
  autoButton->setToolTip("Attempt to calculate the required KS steps");
  autoButton->setAutoDefault(false);
  auto* ksLayout = new QHBoxLayout(ksGroup);
  auto* stepsLabel = new QLabel("Maximum Steps", ksGroup);
  stepsLabel->setBuddy(maxSteps_);
  ksLayout->addWidget(stepsLabel);
  ksLayout->addWidget(maxSteps_);
  ksLayout->addWidget(autoButton);

  auto* accept = new QPushButton("Accept and Save...", this);
  accept->setObjectName("Button1");
  accept->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Button2");
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(accept);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modeGroup);
  layout->addWidget(optionsGroup);
  layout->addWidget(ksGroup);
  layout->addLayout(buttons);
  layout->setSpacing(4);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(direct_, &QRadioButton::toggled, this, [this](bool on) { state_->Options.KitterspeakMode = !on; });
  connect(transparent_, &QCheckBox::toggled, this, [this](bool on) { state_->Options.Transparent = on; });
  connect(ignorePos_, &QCheckBox::toggled, this, [this](bool on) { state_->Options.IgnorePos = on; });
  connect(remapped_, &QCheckBox::toggled, this, [this](bool on) { state_->Options.Remapped = on; });
  connect(optimize_, &QCheckBox::toggled, this, [this](bool on) { state_->Options.Optimize = on; });
  connect(colourCode_, &QLineEdit::textEdited, this,
          [this](const QString& text) { state_->Options.ColourCode = text.toStdString(); });
  connect(delay_, &QLineEdit::editingFinished, this, [this] { TakeNumberFields(); });
  connect(maxSteps_, &QLineEdit::editingFinished, this, [this] { TakeNumberFields(); });
  connect(autoButton, &QPushButton::clicked, this, [this] {
    state_->Auto();
    maxSteps_->setText(QString::number(state_->Options.MaxSteps));
  });
  connect(accept, &QPushButton::clicked, this, [this] {
    TakeNumberFields();
    QDialog::accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void GifExportDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOver(*this, parentWidget());
}

TDialogResult GifExportDialog::Run(TGifExportDialogState& state, const TPatchFrame& shape) {
  (void)shape;  // the state already holds what the dialog shows of it
  state_ = &state;
  ShowState();
  return exec() == QDialog::Accepted ? TDialogResult::Accept : TDialogResult::Cancel;
}

void GifExportDialog::ShowState() {
  const TGifExportOptions& options = state_->Options;
  (options.KitterspeakMode ? kitterspeak_ : direct_)->setChecked(true);
  delay_->setText(QString::number(options.BaseFrameDelay));
  transparent_->setChecked(options.Transparent);
  ignorePos_->setChecked(options.IgnorePos);
  remapped_->setChecked(options.Remapped);
  colourCode_->setText(QString::fromStdString(options.ColourCode));
  optimize_->setChecked(options.Optimize);
  maxSteps_->setText(QString::number(options.MaxSteps));
}

void GifExportDialog::TakeNumberFields() {
  state_->SetBaseFrameDelay(delay_->text().toStdString());
  state_->SetMaxSteps(maxSteps_->text().toStdString());
  delay_->setText(QString::number(state_->Options.BaseFrameDelay));
  maxSteps_->setText(QString::number(state_->Options.MaxSteps));
}

std::vector<std::string> RunGifExport(QWidget* owner, const TShapeList& shapes, int left, int right,
                                      UserInterface& ui) {
  if (shapes.empty()) return {};
  GifExportDialog dialog(owner);
  TGifExportDialogState state;
  ExportProgress progress(owner);
  auto written = RunGifExportSeries(
      shapes, left, right, state, ui,
      [&](TGifExportDialogState& shown, const TPatchFrame& shape) {
        progress.Finish();
        return dialog.Run(shown, shape);
      },
      [&](const TGifSeriesProgress& done) { return progress(done); });
  progress.Finish();
  return written;
}

}  // namespace quillmere::ui
