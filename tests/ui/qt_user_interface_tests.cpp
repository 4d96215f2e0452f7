// The core's messages and file choices as Qt shows them: filters, default
// extensions, line breaks, and which button means which answer.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "ui/qt_user_interface.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

// Presses `button` in the next message box that opens, and records what it showed.
struct BoxPress {
  explicit BoxPress(QMessageBox::StandardButton button) : Button(button) {}
  QMessageBox::StandardButton Button;
  QString Title, Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> Buttons;

  void Arm() {
    QTimer::singleShot(0, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      Title = box->windowTitle();
      Text = box->text();
      Icon = box->icon();
      for (QAbstractButton* b : box->buttons()) Buttons << box->standardButton(b);
      if (Button == QMessageBox::NoButton) {
        box->reject();  // Escape or the close box
      } else {
        box->button(Button)->click();
      }
    });
  }
};

}  // namespace

class QtUserInterfaceTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void filtersBecomeQtNameFilters() {
    QCOMPARE(ui::NameFilters("All Supported Files|*.fox;*.fsh;*.fs2|Furcadia FOX|*.fox"),
             (QStringList{"All Supported Files (*.fox *.fsh *.fs2)", "Furcadia FOX (*.fox)"}));
    // A name that already shows its pattern is not given a second one.
    QCOMPARE(ui::NameFilters("Bitmap file (*.bmp)|*.bmp|All Files|*.*"),
             (QStringList{"Bitmap file (*.bmp)", "All Files (*.*)"}));
    QCOMPARE(ui::NameFilters(""), QStringList{});
  }

  void savedNamesGetTheDefaultExtensionOnlyWhenTheyHaveNone() {
    QCOMPARE(ui::WithDefaultExtension("/tmp/walls", "fox"), QString("/tmp/walls.fox"));
    QCOMPARE(ui::WithDefaultExtension("/tmp/walls.fsh", "fox"), QString("/tmp/walls.fsh"));
    QCOMPARE(ui::WithDefaultExtension("/tmp/my.dir/walls", "fox"), QString("/tmp/my.dir/walls.fox"));
    QCOMPARE(ui::WithDefaultExtension("/tmp/walls", ""), QString("/tmp/walls"));
  }

  void carriageReturnsBreakLines() {
    QCOMPARE(ui::MessageText("The file ...\r\"a.fox\"\rno longer exists."),
             QString("The file ...\n\"a.fox\"\nno longer exists."));
    QCOMPARE(ui::MessageText("one\r\ntwo"), QString("one\ntwo"));
  }

  void aBoxShowsTheCoreMessageAndAnswersWithThePressedButton() {
    ui::QtUserInterface person;
    const TMessage question{"Quillmere: Warning", "Save changes?\rThey will be lost.", TMsgIcon::Question,
                            TMsgButtons::YesNoCancel};
    BoxPress press(QMessageBox::No);
    press.Arm();
    QCOMPARE(person.ShowMessage(question), TMsgAnswer::No);
    QCOMPARE(press.Title, QString("Quillmere: Warning"));
    QCOMPARE(press.Text, QString("Save changes?\nThey will be lost."));
    QCOMPARE(press.Icon, QMessageBox::Question);
    QCOMPARE(press.Buttons.size(), 3);

    BoxPress ok(QMessageBox::Ok);
    ok.Arm();
    QCOMPARE(person.ShowMessage({"Color Reset", "Sure?", TMsgIcon::Question, TMsgButtons::OkCancel}),
             TMsgAnswer::Ok);
    BoxPress error(QMessageBox::Ok);
    error.Arm();
    QCOMPARE(person.ShowMessage({"Error!", "File not found, cannot load.", TMsgIcon::Error, TMsgButtons::Ok}),
             TMsgAnswer::Ok);
    QCOMPARE(error.Icon, QMessageBox::Critical);
  }

  void closingABoxIsTheSafeWayOut() {
    ui::QtUserInterface person;
    BoxPress escape(QMessageBox::NoButton);
    escape.Arm();
    QCOMPARE(person.ShowMessage({"Q", "Save?", TMsgIcon::Question, TMsgButtons::YesNoCancel}),
             TMsgAnswer::Cancel);
    escape.Arm();
    QCOMPARE(person.ShowMessage({"Q", "Go on?", TMsgIcon::Question, TMsgButtons::YesNo}), TMsgAnswer::No);
    escape.Arm();
    QCOMPARE(person.ShowMessage({"Q", "Reset?", TMsgIcon::Question, TMsgButtons::OkCancel}),
             TMsgAnswer::Cancel);
  }
};

QUILLMERE_UI_TEST(QtUserInterfaceTests);

}  // namespace quillmere::test

#include "qt_user_interface_tests.moc"
