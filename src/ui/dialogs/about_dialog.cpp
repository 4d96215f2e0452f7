#include "ui/dialogs/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "app/about_box.h"
#include "ui/dialogs/centred.h"
#include "ui/qt_text.h"

namespace quillmere::ui {
namespace {

constexpr int kClientWidth = 386;
constexpr int kClientHeight = 266;
constexpr int kMemoWidth = 365;

}  // namespace

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
  setObjectName("AboutFrm");
  setWindowTitle("About");
  setFixedSize(kClientWidth, kClientHeight);
  setFont(QFont("Tahoma", 8));

  auto* title = new QLabel("Quillmere", this);
  title->setObjectName("Label1");
  QFont titleFont("Tahoma");
  titleFont.setPixelSize(29);
  titleFont.setBold(true);
  titleFont.setItalic(true);
  title->setFont(titleFont);
  title->setAlignment(Qt::AlignCenter);
  title->setGeometry(2, 4, 383, 35);

  auto* version = new QLabel(ToQString(AboutVersionLine(QUILLMERE_VERSION, QUILLMERE_RELEASE_NAME)), this);
  version->setObjectName("Label2");
  version->setAlignment(Qt::AlignCenter);
  version->setGeometry(2, 43, 383, 13);

  auto* memo = new QTextEdit(this);
  memo->setObjectName("Memo1");
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setLineWrapMode(QTextEdit::NoWrap);
  memo->setPlainText(ToQString(AboutCreditsText(ShippedCredits())));
  // Every line centred, as the credits are laid out.
  QTextCursor all(memo->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);
  const int memoLeft = CentredOver(0, 0, kClientWidth, 0, kMemoWidth, 0).Left;
  memo->setGeometry(memoLeft, 58, kMemoWidth, 177);

  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("OkBtn");
  ok->setDefault(true);
  ok->setGeometry(162, 239, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOver(*this, parentWidget());
}

}  // namespace quillmere::ui
