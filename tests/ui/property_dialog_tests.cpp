// "Shape Properties..." of both panes through the real window: the dialog's
// controls as filled from the selected shapes or frames, and what Ok and
// Cancel leave in the documents.
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "modal_helpers.h"
#include "model/shape_flags.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

constexpr std::uint16_t kSittable = 4;
constexpr std::uint16_t kFurreX = 8;
constexpr std::uint16_t kFurreY = 16;

TPatchSubFrame Sized(std::uint16_t width, std::uint16_t height) {
  return {height,
          width,
          0,
          0,
          0,
          0,
          kFormatIndexed,
          255,
          kEncodingRaw,
          ByteBuffer(std::size_t{width} * height, 3)};
}

// Four shapes: the first three share shape position X 4 and have Y 1, 2, 3,
// replacement indices 7, 9, 7, and only the first is sittable (with a stale
// furre X bit). The first holds frames of 1000 and 2000 bytes and 4 steps.
TShapeList Walls() {
  TShapeList shapes = TaggedList(4, 10);
  shapes[0].Frames = {Sized(25, 40), Sized(40, 50)};
  for (int i = 0; i < 3; ++i) {
    TPatchSubFrame& f0 = shapes[static_cast<std::size_t>(i)].Frames[0];
    f0.ShapePosX = 4;
    f0.ShapePosY = static_cast<std::int16_t>(i + 1);
  }
  shapes[0].Script.assign(4, TKSStep{});
  shapes[0].Flags = kSittable | kFurreX;
  shapes[0].ReplacementIndex = 7;
  shapes[1].ReplacementIndex = 9;
  shapes[2].ReplacementIndex = 7;
  return shapes;
}

void OpenDestination(WindowFixture& f, FileChoices& choices, const TShapeList& shapes) {
  choices.Next(WriteFox(f, "dest.fox", shapes));
  f.Trigger("Open1");
}

void Type(QSpinBox* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

// The field settles its text as it does when the person leaves it.
void Leave(QSpinBox* field) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(field, &out);
}

}  // namespace

class PropertyDialogTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void shapeFormShowsTheFirstShapeAndWhatAllShare() {
    WindowFixture f;
    ui::MainWindow& window = f.Start("[Main]\r\nTips=1\r\n");
    FileChoices choices(f.scripted);
    const TShapeList walls = Walls();
    OpenDestination(f, choices, walls);
    f.Click(TGridId::DestGrid, 0);
    f.Click(TGridId::DestGrid, 2, Qt::ShiftModifier);

    bool opened = false;
    WhenModal(
        [&](QDialog& dialog) {
          QCOMPARE(dialog.windowTitle(), QString("Property Editor"));
          QVERIFY(dialog.isModal());
          QVERIFY(CentredOver(dialog, window));
          QCOMPARE(Control<QLabel>(dialog, "Label1")->text(), QString("Currently modifying:"));
          QCOMPARE(Control<QLabel>(dialog, "Label2")->text(), QString("1 - 3"));
          QCOMPARE(Control<QGroupBox>(dialog, "FlagBox")->title(), QString("Flags"));

          // Shared X shows set; differing Y shows the first shape's, unset.
          QCOMPARE(Control<QSpinBox>(dialog, "SPosX")->value(), 4);
          QVERIFY(Control<QCheckBox>(dialog, "SposXSwitch")->isChecked());
          QCOMPARE(Control<QSpinBox>(dialog, "SPosY")->value(), 1);
          QVERIFY(!Control<QCheckBox>(dialog, "SposYSwitch")->isChecked());
          QVERIFY(Control<QCheckBox>(dialog, "FposXSwitch")->isChecked());
          QCOMPARE(Control<QSpinBox>(dialog, "FS2Pos")->value(), 7);
          QVERIFY(!Control<QCheckBox>(dialog, "FS2PosSwitch")->isChecked());

          for (const char* name : {"FPosX", "FPosY", "SPosX", "SPosY"}) {
            QSpinBox* field = Control<QSpinBox>(dialog, name);
            QCOMPARE(std::pair(field->minimum(), field->maximum()), std::pair(-255, 255));
            QVERIFY(field->isEnabled());
          }
          QCOMPARE(std::pair(Control<QSpinBox>(dialog, "FS2Pos")->minimum(),
                             Control<QSpinBox>(dialog, "FS2Pos")->maximum()),
                   std::pair(-1, 32000));
          QSpinBox* opacity = Control<QSpinBox>(dialog, "InitOpacitySpin");
          QCOMPARE(std::tuple(opacity->value(), opacity->isEnabled(), opacity->maximum()),
                   std::tuple(255, false, 255));
          QVERIFY(Control<QCheckBox>(dialog, "OpacityChk")->isChecked());
          QVERIFY(!Control<QCheckBox>(dialog, "OpacityChk")->isEnabled());

          // Only the first shape is sittable: grey; all agree on the others.
          QCOMPARE(Control<QCheckBox>(dialog, "Sittable")->checkState(), Qt::PartiallyChecked);
          QCOMPARE(Control<QCheckBox>(dialog, "Walkable")->checkState(), Qt::Unchecked);
          QVERIFY(!Control<QCheckBox>(dialog, "Walkable")->isTristate());

          // The first shape's frame count; 1000 + 28 + 2000 + 28 + 24 + 2 x 30 bytes.
          QCOMPARE(Control<QLabel>(dialog, "AddFramesLab")->text(), QString("2"));
          QCOMPARE(Control<QLabel>(dialog, "ObjectSizeLab")->text(), QString("3KiB"));

          QCOMPARE(Control<QCheckBox>(dialog, "Sittable")->toolTip(),
                   QString("You will auto-sit on the object when checked"));
          QCOMPARE(Control<QCheckBox>(dialog, "Gettable")->toolTip(),
                   QString("You can pick the object up when checked"));
          QCOMPARE(Control<QCheckBox>(dialog, "FS2PosSwitch")->toolTip(),
                   QString("If checked, sets the value"));
          QCOMPARE(Control<QPushButton>(dialog, "Button1")->text(), QString("Ok"));
          QPushButton* cancel = Control<QPushButton>(dialog, "Button2");
          QCOMPARE(cancel->text(), QString("Cancel"));

          // Cancel after an edit: nothing of it is kept.
          Control<QCheckBox>(dialog, "SposYSwitch")->setChecked(true);
          QTest::mouseClick(cancel, Qt::LeftButton);
        },
        &opened);
    f.Trigger("Properties1");
    QVERIFY(opened);
    QCOMPARE(f.state->Workspace.Destination.Shapes, walls);
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination"));
  }

  void okWritesTheSwitchedValuesToEveryShape() {
    WindowFixture f;
    f.Start();
    FileChoices choices(f.scripted);
    OpenDestination(f, choices, Walls());
    f.Click(TGridId::DestGrid, 0);
    f.Click(TGridId::DestGrid, 2, Qt::ShiftModifier);

    WhenModal([&](QDialog& dialog) {
      // Hints show only while the window's tooltips option is on.
      QCOMPARE(Control<QCheckBox>(dialog, "Sittable")->toolTip(), QString());
      Control<QCheckBox>(dialog, "SposYSwitch")->setChecked(true);
      Control<QCheckBox>(dialog, "Sittable")->click();  // from grey
      QCOMPARE(Control<QCheckBox>(dialog, "Sittable")->checkState(), Qt::Checked);
      Type(Control<QSpinBox>(dialog, "FPosY"), "5");
      QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    });
    f.Trigger("PopupMenu1:Shape Properties...");

    const TShapeList& shapes = f.state->Workspace.Destination.Shapes;
    for (std::size_t i = 0; i < 3; ++i) {
      const TPatchSubFrame& f0 = shapes[i].Frames[0];
      QCOMPARE((std::vector<int>{f0.ShapePosX, f0.ShapePosY, f0.FurrePosX, f0.FurrePosY}),
               (std::vector<int>{4, 1, 0, 5}));
      // The furre bits follow the first frame's new position.
      QCOMPARE(shapes[i].Flags, std::uint16_t{kSittable | kFurreY});
    }
    QCOMPARE(shapes[0].Frames[1].FurrePosY, std::int16_t{0});
    QCOMPARE(
        (std::vector{shapes[0].ReplacementIndex, shapes[1].ReplacementIndex, shapes[2].ReplacementIndex}),
        (std::vector<std::int16_t>{7, 9, 7}));
    QCOMPARE(shapes[3], Walls()[3]);
    QCOMPARE(f.window->Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));
  }

  void frameFormEditsTheSelectedFramesOfTheCurrentShape() {
    WindowFixture f;
    f.Start();
    FileChoices choices(f.scripted);
    TShapeList shapes = Walls();
    shapes[1].Frames.resize(3, shapes[1].Frames[0]);
    OpenDestination(f, choices, shapes);
    f.Click(TGridId::DestGrid, 1);
    ShowPage(f, TGridId::DestSubGrid);
    f.Click(TGridId::DestSubGrid, 1);
    f.Click(TGridId::DestSubGrid, 2, Qt::ShiftModifier);

    WhenModal([&](QDialog& dialog) {
      QCOMPARE(Control<QLabel>(dialog, "Label2")->text(), QString("2 - 3"));
      QCOMPARE(Control<QLabel>(dialog, "AddFramesLab")->text(), QString("N/A"));
      QVERIFY(!Control<QGroupBox>(dialog, "FlagBox")->isEnabled());
      QVERIFY(!Control<QCheckBox>(dialog, "Walkable")->isEnabled());
      QVERIFY(!Control<QSpinBox>(dialog, "FS2Pos")->isEnabled());
      QVERIFY(!Control<QCheckBox>(dialog, "FS2PosSwitch")->isEnabled());
      QVERIFY(Control<QSpinBox>(dialog, "SPosX")->isEnabled());
      // Enter in a field confirms with the value as typed.
      QSpinBox* x = Control<QSpinBox>(dialog, "SPosX");
      Type(x, "-7");
      QTest::keyClick(x, Qt::Key_Return);
    });
    f.Trigger("MSubFPopup:Shape Properties...");

    const TPatchFrame& shape = f.state->Workspace.Destination.Shapes[1];
    QCOMPARE((std::vector{shape.Frames[0].ShapePosX, shape.Frames[1].ShapePosX, shape.Frames[2].ShapePosX}),
             (std::vector<std::int16_t>{4, -7, -7}));
    QCOMPARE(shape.Flags, std::uint16_t{0});
    QCOMPARE(shape.ReplacementIndex, std::int16_t{9});
  }

  void sourcePaneEditsTheSource() {
    WindowFixture f;
    f.Start();
    FileChoices choices(f.scripted);
    OpenDestination(f, choices, Walls());
    choices.Next(WriteFox(f, "src.fox", TaggedList(3, 40)));
    f.Trigger("Import1");
    f.Click(TGridId::SrcGrid, 1);

    WhenModal([&](QDialog& dialog) {
      QCOMPARE(Control<QLabel>(dialog, "Label2")->text(), QString("2"));
      QSpinBox* replacement = Control<QSpinBox>(dialog, "FS2Pos");
      QCOMPARE(replacement->value(), -1);
      Type(replacement, "12");
      QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    });
    f.Trigger("MenuItem1");
    QCOMPARE(f.state->Workspace.Source.Shapes[1].ReplacementIndex, std::int16_t{12});
    QCOMPARE(f.state->Workspace.Source.Shapes[0].ReplacementIndex, std::int16_t{-1});

    ShowPage(f, TGridId::SrcSubGrid);
    WhenModal([&](QDialog& dialog) {
      QCOMPARE(Control<QLabel>(dialog, "Label2")->text(), QString("1"));
      Type(Control<QSpinBox>(dialog, "FPosX"), "300");  // past the limit
      QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    });
    f.Trigger("SSubFPopup:Shape Properties...");
    QCOMPARE(f.state->Workspace.Source.Shapes[1].Frames[0].FurrePosX, std::int16_t{255});
    QCOMPARE(f.state->Workspace.Destination.Shapes, Walls());
    QCOMPARE(f.window->Group(TDocumentKind::Source)->title(), QString("Source (Modified)"));
  }

  void replacementIndexSettlesAsTyped() {
    WindowFixture f;
    f.Start();
    FileChoices choices(f.scripted);
    OpenDestination(f, choices, Walls());
    QStringList seen;
    WhenModal([&](QDialog& dialog) {
      QSpinBox* field = Control<QSpinBox>(dialog, "FS2Pos");
      Type(field, "70000");
      seen << field->text();
      Leave(field);
      seen << field->text();
      Type(field, "-");
      Leave(field);
      seen << field->text();
    });
    f.Trigger("Properties1");
    QCOMPARE(seen, (QStringList{"65535", "32000", "-1"}));
    QCOMPARE(f.state->Workspace.Destination.Shapes, Walls());
  }

  void emptyDocumentOpensNothing() {
    WindowFixture f;
    f.Start();
    bool opened = true;
    WhenModal([](QDialog&) {}, &opened);
    f.Trigger("Properties1");
    QVERIFY(!opened);
    QCOMPARE(Shown(f), QStringList{"Whoops! | Nothing selected to edit!"});
  }
};

QUILLMERE_UI_TEST(PropertyDialogTests);

}  // namespace quillmere::test

#include "property_dialog_tests.moc"
