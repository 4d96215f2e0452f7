// "Object Number Offset..." and "Remove Duplicates..." through the real
// window: the dialogs' controls, the offset in the status bars, and the scan's
// result in the destination and in the message that reports it.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <climits>

#include "modal_helpers.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

void Type(QSpinBox* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

void Press(QDialog& dialog, const char* button) {
  QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

// A click on a check box's indicator, as the person makes it.
void Tick(QDialog& dialog, const char* box) {
  QCheckBox* check = Control<QCheckBox>(dialog, box);
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(check->height() / 2, check->height() / 2));
}

constexpr std::array<const char*, 4> kOptionBoxes{"chkFurrePos", "chkObjPos", "chkFlags", "chkKS"};

// The four option boxes and "Select All", as "1" for checked.
QString Boxes(QDialog& dialog) {
  QString states;
  for (const char* name : kOptionBoxes) states += Control<QCheckBox>(dialog, name)->isChecked() ? '1' : '0';
  return states + (Control<QCheckBox>(dialog, "chkSelectAll")->isChecked() ? "+" : "-");
}

}  // namespace

class ObjectOffsetDialogTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void offsetShowsInTheStatusBar() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    FileChoices choices(f.scripted);
    choices.Next(WriteFox(f, "dest.fox", TaggedList(5, 0)));
    f.Trigger("Open1");
    choices.Next(WriteFox(f, "src.fox", TaggedList(2, 50)));
    f.Trigger("Import1");
    f.Click(TGridId::DestGrid, 3);

    WhenModal([&](QDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QString("Object Offset"));
      QVERIFY(dialog.isModal());
      QVERIFY(CentredOver(dialog, window));
      QSpinBox* field = Control<QSpinBox>(dialog, "SpinEdit1");
      QCOMPARE(std::tuple(field->value(), field->minimum(), field->maximum()),
               std::tuple(0, INT_MIN, INT_MAX));
      QCOMPARE(Control<QPushButton>(dialog, "Button1")->text(), QString("Reset"));
      QCOMPARE(Control<QPushButton>(dialog, "Button2")->text(), QString("Ok"));
      QVERIFY(Control<QPushButton>(dialog, "Button2")->isDefault());
      QCOMPARE(Control<QPushButton>(dialog, "Button3")->text(), QString("Cancel"));
      Type(field, "100");
      QTest::keyClick(field, Qt::Key_Return);
    });
    f.Trigger("ObjectNumberOffset1");
    QCOMPARE(f.Status(TDocumentKind::Destination, 1), QString("Selected Shape: *103"));
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination"));

    // Escape leaves the offset as it was, whatever was typed.
    WhenModal([&](QDialog& dialog) {
      QSpinBox* field = Control<QSpinBox>(dialog, "SpinEdit1");
      QCOMPARE(field->value(), 100);
      Type(field, "5");
      QTest::keyClick(field, Qt::Key_Escape);
    });
    f.Trigger("PopupMenu1:Object Number Offset...");
    QCOMPARE(f.Status(TDocumentKind::Destination, 1), QString("Selected Shape: *103"));

    // So does Cancel; "Reset" takes the star away at once.
    WhenModal([&](QDialog& dialog) {
      Type(Control<QSpinBox>(dialog, "SpinEdit1"), "9");
      Press(dialog, "Button3");
    });
    f.Trigger("ObjectNumberOffset1");
    QCOMPARE(f.Status(TDocumentKind::Destination, 1), QString("Selected Shape: *103"));
    WhenModal([&](QDialog& dialog) { Press(dialog, "Button1"); });
    f.Trigger("ObjectNumberOffset1");
    QCOMPARE(f.Status(TDocumentKind::Destination, 1), QString("Selected Shape: 3"));

    // The source keeps an offset of its own.
    WhenModal([&](QDialog& dialog) {
      Type(Control<QSpinBox>(dialog, "SpinEdit1"), "-3");
      Press(dialog, "Button2");
    });
    f.Trigger("ObjectNumberOffset2");
    QCOMPARE(f.Status(TDocumentKind::Source, 1), QString("Selected Shape: *-3"));
    QCOMPARE(f.Status(TDocumentKind::Destination, 1), QString("Selected Shape: 3"));
    QCOMPARE(window.Group(TDocumentKind::Source)->title(), QString("Source"));
  }
};

class RemoveDuplicatesDialogTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void optionsFollowSelectAllAndCancelKeepsEverything() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    FileChoices choices(f.scripted);
    TShapeList shapes = TaggedList(3, 0);
    shapes.push_back(shapes[0]);
    choices.Next(WriteFox(f, "dest.fox", shapes));
    f.Trigger("Open1");

    QStringList seen;
    WhenModal([&](QDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QString("Remove Duplicates from Destination"));
      QVERIFY(dialog.isModal());
      QVERIFY(CentredOver(dialog, window));
      QCOMPARE(
          Control<QLabel>(dialog, "Label1")->text(),
          QString("This feature scans for identical objects and removes them. By default, it only checks the "
                  "pictures themselves.  In some cases, the graphics may be the same but have different "
                  "properties intentionally. To check if these are the same to confirm or avoid a removal, "
                  "check them below."));
      QCOMPARE(Control<QGroupBox>(dialog, "GroupBox1")->title(),
               QString("To match identical object, also require..."));
      QStringList captions;
      for (const char* name : {"chkFurrePos", "chkObjPos", "chkFlags", "chkKS", "chkSelectAll"}) {
        captions << Control<QCheckBox>(dialog, name)->text();
      }
      QCOMPARE(captions, (QStringList{"Identical Furre Position", "Identical Object Position",
                                      "Identical Flags", "Identical Kitterspeak", "Select All"}));
      QCOMPARE(Control<QPushButton>(dialog, "Button1")->text(), QString("Scan and Remove..."));
      QCOMPARE(Control<QPushButton>(dialog, "Button2")->text(), QString("Cancel"));

      seen << Boxes(dialog);
      Tick(dialog, "chkSelectAll");
      seen << Boxes(dialog);
      Tick(dialog, "chkKS");
      seen << Boxes(dialog);
      Tick(dialog, "chkKS");
      seen << Boxes(dialog);
      Tick(dialog, "chkSelectAll");
      seen << Boxes(dialog);
      Tick(dialog, "chkObjPos");
      seen << Boxes(dialog);
      Press(dialog, "Button2");
    });
    f.Trigger("RemoveDuplicates1");
    QCOMPARE(seen, (QStringList{"0000-", "1111+", "1110-", "1111+", "0000-", "0100-"}));
    QCOMPARE(f.state->Workspace.Destination.Shapes, shapes);
    QVERIFY(Shown(f).isEmpty());

    // Options changed and then cancelled are not remembered.
    seen.clear();
    WhenModal([&](QDialog& dialog) { seen << Boxes(dialog); });
    f.Trigger("RemoveDuplicates1");
    QCOMPARE(seen, QStringList{"0000-"});
  }

  void scanRemovesRepeatsAndReports() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    FileChoices choices(f.scripted);
    // Shapes 5 and 9 repeat shape 2; shape 7 repeats shape 1 but for its flags.
    TShapeList shapes = TaggedList(10, 0);
    shapes[5] = shapes[9] = shapes[2];
    shapes[7] = shapes[1];
    shapes[7].Flags = 1;
    choices.Next(WriteFox(f, "dest.fox", shapes));
    f.Trigger("Open1");

    WhenModal([&](QDialog& dialog) {
      Tick(dialog, "chkFlags");
      Press(dialog, "Button1");
    });
    f.Trigger("RemoveDuplicates1");
    QCOMPARE(Shown(f), QStringList{"Duplicate Removal | Before: 10\nAfter: 8\nRemoved 2 objects."});
    QCOMPARE(Tags(f.state->Workspace.Destination.Shapes), (std::vector{0, 1, 2, 3, 4, 6, 1, 8}));
    QCOMPARE(f.Status(TDocumentKind::Destination, 0), QString("Shapes: 8"));
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));

    // A scan that ran keeps its options for the next one.
    QString remembered;
    WhenModal([&](QDialog& dialog) { remembered = Boxes(dialog); });
    f.Trigger("RemoveDuplicates1");
    QCOMPARE(remembered, QString("0010-"));
  }
};

QUILLMERE_UI_TEST(ObjectOffsetDialogTests);
QUILLMERE_UI_TEST(RemoveDuplicatesDialogTests);

}  // namespace quillmere::test

#include "offset_dedupe_dialog_tests.moc"
