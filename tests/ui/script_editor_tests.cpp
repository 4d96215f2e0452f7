// The KitterSpeak editor opened from the window's menus: its controls, what
// Close & Save and Cancel leave in the shape, steps travelling between two
// editors through the system clipboard, and the preview playing the script.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "kitterspeak/playback.h"
#include "model/ks_commands.h"
#include "model/ks_script.h"
#include "model/shape_palette.h"
#include "ui/dialogs/script_editor_dialog.h"
#include "ui/dialogs/script_preview_view.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

using ui::ScriptEditorDialog;

TKSStep C(int code, int a = 0, int b = 0) { return {std::int16_t(code), std::int16_t(a), std::int16_t(b)}; }

// Shape i has i + 1 frames; frame j is one pixel of index 40 + j at (j, 2 j),
// and the script shows each frame for 60 ms.
TShapeList Animated(int count) {
  TShapeList shapes;
  for (int i = 0; i < count; ++i) {
    TPatchFrame shape;
    for (int j = 0; j <= i; ++j) {
      shape.Frames.push_back(
          {1, 1, std::int16_t(j), std::int16_t(2 * j), 0, 0, kFormatIndexed, 255, kEncodingRaw, {std::uint8_t(40 + j)}});
      shape.Script.push_back(C(ksShowFrame, j));
      shape.Script.push_back(C(ksDelay, 60));
    }
    shapes.push_back(shape);
  }
  return shapes;
}

// The scripted interface with the system clipboard, as the real one has it.
class SystemClipboardInterface : public ScriptedUserInterface {
 public:
  std::string ClipboardText() override { return QApplication::clipboard()->text().toStdString(); }
  void SetClipboardText(const std::string& text) override {
    QApplication::clipboard()->setText(QString::fromStdString(text));
  }
};

// A window of its own over the system clipboard: one running editor.
struct Editor {
  explicit Editor(const std::string& destination) {
    state = StartUp(ui, config.Path());
    window = std::make_unique<ui::MainWindow>(*state, ui);
    window->show();
    window->OpenFiles({destination});
    QApplication::processEvents();
  }
  TempDir config;
  SystemClipboardInterface ui;
  std::unique_ptr<TMainWindowState> state;
  std::unique_ptr<ui::MainWindow> window;
};

template <typename T>
T* Find(QWidget* dialog, const char* name) {
  T* found = dialog->findChild<T*>(name);
  if (found == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return found;
}

// Runs `body` on the editor that `action` opens, then leaves it by `leave`
// ("OkBtn", "CancelBtn") unless the body closed it. A failed check inside
// the body still closes the dialog, so the test does not hang.
void WithEditor(QAction* action, const std::function<void(ScriptEditorDialog&)>& body, const char* leave) {
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<ScriptEditorDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    ran = true;
    // Shortcuts go only to the active window, which the offscreen platform
    // leaves to the program.
    QApplication::setActiveWindow(dialog);
    body(*dialog);
    if (dialog->isVisible() && !QTest::currentTestFailed()) Find<QPushButton>(dialog, leave)->click();
    if (dialog->isVisible()) dialog->reject();
  });
  action->trigger();
  QApplication::processEvents();
  if (!ran) QFAIL("the editor did not open");
}

QStringList Lines(QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

QList<int> Selected(QListWidget* list) {
  QList<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows << i;
  return rows;
}

void SelectRows(QListWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int row : rows) list->item(row)->setSelected(true);
}

}  // namespace

class ScriptEditorTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void controlsCaptionsLimitsAndDefaults() {
    WindowFixture f;
    ui::MainWindow& window = f.Start("[Main]\nTips=1\n");
    window.OpenFiles({WriteFox(f, "walls.fox", Animated(3))});
    f.Settle();
    f.Click(TGridId::DestGrid, 2);
    const TShapeList before = f.state->Workspace.Destination.Shapes;
    WithEditor(
        f.window->Action("EditAnimationScript1"),
        [&](ScriptEditorDialog& d) {
          QCOMPARE(d.windowTitle(), QString("Animation Editor: Shape 2"));
          QVERIFY(d.isModal());
          // Centred on the main window by the integer halves of both sizes,
          // moved onto the screen where it is wider than the window allows.
          const QRect main = window.frameGeometry();
          const QRect screen = window.screen()->availableGeometry();
          const int left = main.left() + main.width() / 2 - d.width() / 2;
          const int top = main.top() + main.height() / 2 - d.height() / 2;
          QCOMPARE(d.pos(), QPoint(std::max(screen.left(), std::min(left, screen.right() + 1 - d.width())),
                                   std::max(screen.top(), std::min(top, screen.bottom() + 1 - d.height()))));
          QVERIFY(screen.contains(d.frameGeometry()));
          auto* list = Find<QListWidget>(&d, "KSEditList");
          QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
          QCOMPARE(Lines(list), QStringList({"[0]: Show Frame 0", "[1]: Delay 60", "[2]: Show Frame 1",
                                             "[3]: Delay 60", "[4]: Show Frame 2", "[5]: Delay 60"}));
          QVERIFY(Selected(list).isEmpty());
          QCOMPARE(Find<QLabel>(&d, "StepEdLabel")->text(), QString("Edit Step"));
          auto* combo = Find<QComboBox>(&d, "ComboBox1");
          QCOMPARE(combo->count(), 13);
          QCOMPARE(combo->maxVisibleItems(), 15);
          QCOMPARE(combo->itemText(0), QString("Show Frame #"));
          QCOMPARE(combo->itemText(2), QString("Loop to step #, # time(s)"));
          QCOMPARE(combo->itemText(12), QString("Set camera to follow furre position (#)"));
          QCOMPARE(combo->currentIndex(), 0);
          auto* spin1 = Find<QLineEdit>(&d, "Spin1");
          auto* spin2 = Find<QLineEdit>(&d, "Spin2");
          auto* text1 = Find<QLabel>(&d, "Text1");
          auto* text2 = Find<QLabel>(&d, "Text2");
          QCOMPARE(spin1->text(), QString("0"));
          QCOMPARE(spin2->text(), QString("0"));
          QVERIFY(spin1->isVisible() && !spin2->isVisible());
          QCOMPARE(text1->text(), QString("(frame number)"));
          QVERIFY(!text2->isVisible());
          // Labels follow the command; the typed values stay whatever it is.
          spin1->clear();
          QTest::keyClicks(spin1, "-4x0");
          QCOMPARE(spin1->text(), QString("-40"));
          combo->setCurrentIndex(2);
          QVERIFY(spin1->isVisible() && spin2->isVisible());
          QCOMPARE(text1->text(), QString("(step number)"));
          QCOMPARE(text2->text(), QString("times."));
          combo->setCurrentIndex(8);
          QVERIFY(!spin1->isVisible() && !spin2->isVisible());
          combo->setCurrentIndex(1);
          QCOMPARE(text1->text(), QString("milliseconds."));
          QCOMPARE(spin1->text(), QString("-40"));

          const std::pair<const char*, const char*> buttons[] = {
              {"AddBtn", "Add"}, {"InsertBtn", "Insert"}, {"ApplyBtn", "Modify Selected"},
              {"OkBtn", "Close && Save"}, {"CancelBtn", "Cancel"}};
          for (const auto& [name, caption] : buttons) {
            auto* button = Find<QPushButton>(&d, name);
            QCOMPARE(button->text(), QString(caption));
            QVERIFY(button->isEnabled());
            QVERIFY(!button->autoDefault());
          }
          QCOMPARE(Find<QPushButton>(&d, "ApplyBtn")->toolTip(), QString("Change all selected items"));
          const std::pair<const char*, const char*> tools[] = {
              {"UpBtn", "Move Items Up"}, {"Button1", "Move Items Down"}, {"DelBtn", "Delete Items"},
              {"CutBtn", "Cut Items"},    {"CopyBtn", "Copy Items"},      {"PasteBtn", "Paste Items"}};
          for (const auto& [name, hint] : tools) {
            auto* button = Find<QToolButton>(&d, name);
            QCOMPARE(button->toolTip(), QString(hint));
            QVERIFY(!button->icon().isNull());
            QVERIFY(button->isEnabled());
          }
          auto* menu = Find<QMenu>(&d, "PopupMenu1");
          QStringList items;
          for (QAction* action : menu->actions())
            items << action->text() + " " + action->shortcut().toString();
          QCOMPARE(items, QStringList({"Cut Ctrl+X", "Copy Ctrl+C", "Paste Ctrl+V", "Delete Del"}));

          // Double click loads the step into the controls.
          const QPoint line4 = list->visualItemRect(list->item(4)).center();
          QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line4);
          QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line4);
          QCOMPARE(combo->currentIndex(), 0);
          QCOMPARE(spin1->text(), QString("2"));
          // Edits, then Cancel.
          Find<QPushButton>(&d, "AddBtn")->click();
          Find<QToolButton>(&d, "DelBtn")->click();
          Find<QPushButton>(&d, "AddBtn")->click();
          QCOMPARE(list->count(), 7);
        },
        "CancelBtn");
    QCOMPARE(f.state->Workspace.Destination.Shapes, before);
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination"));
  }

  void fullScriptDisablesAddingAndHintsFollowTheOption() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    TShapeList shapes = Animated(1);
    shapes[0].Script.assign(65535, C(ksShowFrame, 0));
    window.OpenFiles({WriteFox(f, "full.fox", shapes)});
    f.Settle();
    WithEditor(
        f.window->Action("PopupMenu1:Edit KitterSpeak Script..."),
        [&](ScriptEditorDialog& d) {
          QCOMPARE(Find<QListWidget>(&d, "KSEditList")->count(), 65535);
          QVERIFY(!Find<QPushButton>(&d, "AddBtn")->isEnabled());
          QVERIFY(!Find<QPushButton>(&d, "InsertBtn")->isEnabled());
          QVERIFY(Find<QPushButton>(&d, "ApplyBtn")->isEnabled());
          QCOMPARE(Find<QToolButton>(&d, "UpBtn")->toolTip(), QString());
          Find<QToolButton>(&d, "DelBtn")->click();  // nothing selected: nothing deleted
          SelectRows(Find<QListWidget>(&d, "KSEditList"), {7});
          Find<QToolButton>(&d, "DelBtn")->click();
          QVERIFY(Find<QPushButton>(&d, "AddBtn")->isEnabled());
        },
        "CancelBtn");
  }

  void editedScriptIsSavedAndMarksTheDocument() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    window.OpenFiles({WriteFox(f, "walls.fox", Animated(2))});
    f.Settle();
    f.Click(TGridId::DestGrid, 1);
    WithEditor(
        f.window->Action("EditAnimationScript1"),
        [&](ScriptEditorDialog& d) {
          auto* list = Find<QListWidget>(&d, "KSEditList");
          auto* combo = Find<QComboBox>(&d, "ComboBox1");
          auto* spin1 = Find<QLineEdit>(&d, "Spin1");
          auto* spin2 = Find<QLineEdit>(&d, "Spin2");
          // Modify steps 1 and 3 at once: a loop whose count is typed while
          // shown, then kept under a one-argument command.
          SelectRows(list, {1, 3});
          combo->setCurrentIndex(2);
          QTest::keyClicks(spin2, "5");
          combo->setCurrentIndex(1);
          spin1->clear();
          QTest::keyClicks(spin1, "40000");
          Find<QPushButton>(&d, "ApplyBtn")->click();
          QCOMPARE(Selected(list), QList<int>({1, 3}));
          QCOMPARE(list->item(3)->text(), QString("[3]: Delay -25536"));
          // Lines 2 and 3 up by one, still selected.
          SelectRows(list, {2, 3});
          Find<QToolButton>(&d, "UpBtn")->click();
          QCOMPARE(Selected(list), QList<int>({1, 2}));
          combo->setCurrentIndex(11);
          Find<QPushButton>(&d, "AddBtn")->click();
          QCOMPARE(Selected(list), QList<int>({4}));
          QCOMPARE(list->item(4)->text(), QString("[4]: Stop"));
          // Insert after the last selected line, which alone is then selected.
          SelectRows(list, {0, 2});
          combo->setCurrentIndex(4);
          Find<QPushButton>(&d, "InsertBtn")->click();
          QCOMPARE(Selected(list), QList<int>({3}));
          // Delete from the list's own key.
          SelectRows(list, {0});
          list->setFocus();
          QTest::keyClick(list, Qt::Key_Delete);
          QVERIFY(Selected(list).isEmpty());
          Find<QToolButton>(&d, "Button1")->click();  // nothing selected: nothing moves
        },
        "OkBtn");
    const TKSScript expected = {C(ksShowFrame, 1), C(ksDelay, -25536, 5), C(ksFrameX, 40000, 5), C(ksDelay, -25536, 5),
                                C(ksStop, 40000, 5)};
    QCOMPARE(f.state->Workspace.Destination.Shapes[1].Script, expected);
    QCOMPARE(f.state->Workspace.Destination.Shapes[0], Animated(2)[0]);
    QCOMPARE(window.Group(TDocumentKind::Destination)->title(), QString("Destination (Modified)"));
  }

  void emptyDocumentOpensNothing() {
    WindowFixture f({TMsgAnswer::Ok});
    f.Start();
    f.Trigger("EditAnimationScript3");
    QCOMPARE(Shown(f), QStringList({"Whoops! | Nothing selected to edit!"}));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  void stepsTravelBetweenEditorsThroughTheSystemClipboard() {
    TempDir files;
    const std::string first = files.File("first.fox"), second = files.File("second.fox");
    QVERIFY(SaveFOXFile(first, Animated(2)));
    QVERIFY(SaveFOXFile(second, Animated(1)));
    Editor a(first), b(second);
    QApplication::clipboard()->setText("something else");
    // Copy with the list's key in one editor, left with Cancel.
    WithEditor(
        a.window->Action("EditAnimationScript1"),
        [&](ScriptEditorDialog& d) {
          auto* list = Find<QListWidget>(&d, "KSEditList");
          SelectRows(list, {0, 1});
          list->setFocus();
          QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
          QCOMPARE(Lines(list), QStringList({"[0]: Show Frame 0", "[1]: Delay 60"}));
          QCOMPARE(Selected(list), QList<int>({0, 1}));
        },
        "CancelBtn");
    QCOMPARE(QApplication::clipboard()->text(), QString("KitterSpeak:2:2, 1:0:0, 2:60:0"));
    // Paste in the other after its first line, then text from a text editor
    // at the end, then a record that is not a number.
    WithEditor(
        b.window->Action("EditAnimationScript1"),
        [&](ScriptEditorDialog& d) {
          auto* list = Find<QListWidget>(&d, "KSEditList");
          SelectRows(list, {0});
          Find<QToolButton>(&d, "PasteBtn")->click();
          QCOMPARE(Selected(list), QList<int>({2}));
          QApplication::clipboard()->setText("KitterSpeak:1:1,13:1:0");
          list->clearSelection();
          list->setFocus();
          QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
          QApplication::clipboard()->setText("KitterSpeak:2:2, 12:0:0, x:1:1");
          Find<QToolButton>(&d, "PasteBtn")->click();
          QCOMPARE(list->count(), 6);
        },
        "OkBtn");
    const TKSScript expected = {C(ksShowFrame, 0), C(ksShowFrame, 0), C(ksDelay, 60), C(ksDelay, 60),
                                C(ksCamera, 1), C(ksStop)};
    QCOMPARE(b.state->Workspace.Destination.Shapes[0].Script, expected);
    QCOMPARE(QString::fromStdString(b.ui.Shown().at(0).Message.Text), QString("''x'' is not a valid integer value"));
    QCOMPARE(b.ui.Shown().size(), std::size_t{1});
    QCOMPARE(a.state->Workspace.Destination.Shapes, Animated(2));
    // Cut in a Source editor: the steps go, and the Source shape keeps the rest.
    a.window->OpenFiles({first, second});
    QApplication::processEvents();
    WithEditor(
        a.window->Action("PopupMenu2:Edit KitterSpeak Script..."),
        [&](ScriptEditorDialog& d) {
          SelectRows(Find<QListWidget>(&d, "KSEditList"), {1});
          Find<QToolButton>(&d, "CutBtn")->click();
          QCOMPARE(QApplication::clipboard()->text(), QString("KitterSpeak:1:1, 2:60:0"));
        },
        "OkBtn");
    QCOMPARE(a.state->Workspace.Source.Shapes[0].Script, TKSScript({C(ksShowFrame, 0)}));
  }

  void previewPlaysTheWorkingScriptAsPlaybackDoes() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    window.OpenFiles({WriteFox(f, "walls.fox", Animated(3))});
    f.Settle();
    f.Click(TGridId::DestGrid, 2);
    const TPatchFrame shape = Animated(3)[2];
    WithEditor(
        f.window->Action("EditAnimationScript1"),
        [&](ScriptEditorDialog& d) {
          ui::ScriptPreviewView* preview = d.Preview();
          QVERIFY(preview->Playing());
          // The timer moves on by itself: frames 0, 1 and 2 at 60 ms each.
          QTRY_VERIFY_WITH_TIMEOUT(preview->Current() && preview->Current()->Frame == 2, 3000);
          QTRY_VERIFY_WITH_TIMEOUT(preview->Current()->Frame == 0, 3000);

          // A working script of its own, against the core's playback of it.
          auto* list = Find<QListWidget>(&d, "KSEditList");
          list->selectAll();
          Find<QToolButton>(&d, "DelBtn")->click();
          QVERIFY(!preview->Current());
          auto* combo = Find<QComboBox>(&d, "ComboBox1");
          auto* spin1 = Find<QLineEdit>(&d, "Spin1");
          const std::vector<std::pair<int, const char*>> steps = {
              {ksShowFrame, "2"}, {ksDelay, "500"}, {ksFrameX, "-3"}, {ksShowFrame, "1"}, {ksShowFrame, "0"}};
          for (const auto& [code, arg] : steps) {
            combo->setCurrentIndex(code - 1);
            spin1->clear();
            QTest::keyClicks(spin1, arg);
            Find<QPushButton>(&d, "AddBtn")->click();
          }
          QToolButton* play = Find<QToolButton>(&d, "PlayBtn");
          play->click();
          QVERIFY(!preview->Playing());

          TPatchFrame played = shape;
          played.Script = {C(ksShowFrame, 2), C(ksDelay, 500), C(ksFrameX, -3), C(ksShowFrame, 1), C(ksShowFrame, 0)};
          TKSPlayState state{.DefaultDelay = 10, .Loops = {}, .MaxSteps = 1000};
          ScriptedUserInterface quiet;
          // Canvas shift: the left-most X is -3, the top-most Y 0.
          for (int shown = 0; shown < 7; ++shown) {
            TPicture bitmap;
            do {
              NextAnimationFrame(played, state, bitmap, quiet);
            } while (!state.HasFrame);
            const int delay = state.Delay >= 1 ? state.Delay : state.DefaultDelay;
            state.Delay = 0;
            QVERIFY(preview->Current());
            QCOMPARE(preview->Current()->Frame, bitmap.Pixels.at(0) - 40);
            QCOMPARE(preview->Current()->Delay, delay);
            const QImage image = preview->Image();
            const QPoint at(state.FrameX + 3, state.FrameY);
            const TRGB colour = ShapePalette()[bitmap.Pixels.at(0)];
            QCOMPARE(image.pixel(at), qRgb(colour.Red, colour.Green, colour.Blue));
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
              for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) != 0;
            QCOMPARE(opaque, 1);
            preview->Advance();
          }
          // Paused, it stays where it is; playing again moves on.
          const auto held = preview->Current();
          QTest::qWait(80);
          QVERIFY(preview->Current() == held);
          play->click();
          QVERIFY(preview->Playing());
        },
        "CancelBtn");
  }
};

QUILLMERE_UI_TEST(ScriptEditorTests);

}  // namespace quillmere::test

#include "script_editor_tests.moc"
