// "Animated GIF...", "About..." and the hidden palette converter, through the
// window's own menu items and widgets.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "app/about_box.h"
#include "model/ks_commands.h"
#include "ui_helpers.h"
#include "ui_test_registry.h"

namespace quillmere::test {
namespace {

// Two frames, and a script that shows frame 0 four times in one pass: two
// steps, which "Auto" counts as eight.
TPatchFrame Looping(std::uint8_t tag) {
  TPatchFrame shape = Tagged(tag, 2);
  shape.Script = {{ksShowFrame, 0, 0}, {ksLoopToStep, 0, 3}};
  return shape;
}

// Works the next modal dialog once it is up; the menu item's own loop runs
// meanwhile.
void WhenModal(const std::function<void(QWidget*)>& act, const QString& name = {}) {
  QTimer::singleShot(0, [act, name] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || (!name.isEmpty() && modal->objectName() != name)) return WhenModal(act, name);
    act(modal);
  });
}

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* found = parent->findChild<T*>(name);
  if (found == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return found;
}

void SaveShot(QWidget* widget, const char* name) {
  const QByteArray folder = qgetenv("QUILLMERE_SCREENSHOTS");
  if (!folder.isEmpty()) widget->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name));
}

void Type(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClicks(field, text);
  // Leaving the field is what makes it take the text.
  QMetaObject::invokeMethod(field, "editingFinished");
}

}  // namespace

class GifAboutTests : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The source's "Animated GIF..." over one shape: the controls as the dialog
  // opens, the number fields brought within their limits, Auto, and Cancel,
  // which writes nothing and asks for no file.
  void gifDialogControlsLimitsAndDefaults() {
    WindowFixture f;
    FileChoices choices(f.scripted);
    choices.Next(WriteFox(f, "src.fox", {Tagged(1), Looping(2)}));
    ui::MainWindow& window = f.Start();
    f.Trigger("Import1");
    f.Click(TGridId::SrcGrid, 1);
    QVERIFY(window.Action("AnimatedGIF2")->isEnabled());

    QStringList seen;
    WhenModal([&](QWidget* dialog) {
      SaveShot(dialog, "gif-export.png");
      seen << dialog->windowTitle();
      seen << QString::number(qAbs(dialog->frameGeometry().center().x() - window.frameGeometry().center().x()) <= 1);
      seen << Find<QGroupBox>(dialog, "GIFOpts")->title();
      for (QRadioButton* mode : dialog->findChildren<QRadioButton*>()) {
        seen << mode->text() + (mode->isChecked() ? " *" : "");
      }
      for (const char* name : {"TranspChk", "PosIgnoreChk", "RemapChk", "OptimizeChk"}) {
        QCheckBox* box = Find<QCheckBox>(dialog, name);
        seen << box->text() + (box->isChecked() ? " *" : "");
      }
      QLineEdit* delay = Find<QLineEdit>(dialog, "BaseFrameDelay");
      QLineEdit* steps = Find<QLineEdit>(dialog, "MaxFrames");
      seen << delay->text() << steps->text() << Find<QLineEdit>(dialog, "CCodeEdit")->text();
      Type(delay, "5000");
      Type(steps, "");
      seen << delay->text() << steps->text();
      Type(delay, "0");
      Type(steps, "250000");
      seen << delay->text() << steps->text();
      QPushButton* autoButton = Find<QPushButton>(dialog, "Button3");
      seen << autoButton->text() << autoButton->toolTip();
      autoButton->click();
      seen << steps->text();
      seen << Find<QPushButton>(dialog, "Button1")->text();
      QPushButton* cancel = Find<QPushButton>(dialog, "Button2");
      seen << cancel->text();
      cancel->click();
    });
    f.Trigger("AnimatedGIF2");
    QCOMPARE(seen, QStringList({"GIF Export", "1", "GIF Export Mode", "Direct Frames",
                                "Kitterspeak Animation *", "Transparent *", "Ignore Pos", "Remapped",
                                "Smallest file (renumbers colours)", "10", "2", "", "1000", "1", "1",
                                "100000", "Auto", "Attempt to calculate the required KS steps", "8",
                                "Accept and Save...", "Cancel"}));
    QCOMPARE(f.scripted.FileRequests().size(), 1u);  // the import's only
    QCOMPARE(f.files.List(), std::vector<std::string>{"src.fox"});
  }

  // Two destination shapes selected: the first dialog switches to Direct
  // Frames and accepts, the second (showing that choice, with its own
  // Maximum Steps) is cancelled. Only the first file is written.
  void gifSeriesEndsAtCancel() {
    WindowFixture f;
    FileChoices choices(f.scripted);
    choices.Next(WriteFox(f, "walls.fox", {Looping(1), Tagged(3), Tagged(5)}));
    f.Start();
    f.Trigger("Open1");
    f.Click(TGridId::DestGrid, 0);
    f.Click(TGridId::DestGrid, 1, Qt::ShiftModifier);
    choices.Next(f.files.File("first.gif"));
    choices.Next(f.files.File("second.gif"));

    QStringList seen;
    WhenModal([&](QWidget* first) {
      seen << Find<QLineEdit>(first, "MaxFrames")->text();
      for (QRadioButton* mode : first->findChildren<QRadioButton*>()) {
        if (mode->text() == "Direct Frames") mode->click();
      }
      Find<QPushButton>(first, "Button1")->click();
      WhenModal([&](QWidget* second) {
        for (QRadioButton* mode : second->findChildren<QRadioButton*>()) {
          seen << mode->text() + (mode->isChecked() ? " *" : "");
        }
        seen << Find<QLineEdit>(second, "MaxFrames")->text();
        Find<QPushButton>(second, "Button2")->click();
      });
    });
    f.Trigger("AnimatedGIF1");
    QCOMPARE(seen, QStringList({"2", "Direct Frames *", "Kitterspeak Animation", "1"}));
    QCOMPARE(f.files.List(), (std::vector<std::string>{"first.gif", "walls.fox"}));
    QCOMPARE(f.scripted.FileRequests().back().Filter, std::string("GIF Image|*.gif"));
    const Bytes gif = ReadFile(f.files.File("first.gif"));
    QCOMPARE(std::string(gif.begin(), gif.begin() + 6), std::string("GIF89a"));
    QVERIFY(f.scripted.Shown().empty());
  }

  // Four shapes make a long series, whose progress shows at once; its Cancel
  // during the first export ends the series with no file written.
  void gifProgressCancelEndsTheSeries() {
    WindowFixture f;
    FileChoices choices(f.scripted);
    choices.Next(WriteFox(f, "walls.fox", {Looping(1), Looping(3), Looping(5), Looping(7)}));
    f.Start();
    f.Trigger("Open1");
    f.Click(TGridId::DestGrid, 0);
    f.Click(TGridId::DestGrid, 3, Qt::ShiftModifier);
    for (const char* name : {"a.gif", "b.gif", "c.gif", "d.gif"}) choices.Next(f.files.File(name));
    int dialogs = 0;
    QString progressText;
    WhenModal(
        [&](QWidget* dialog) {
          ++dialogs;
          Find<QPushButton>(dialog, "Button1")->click();
          WhenModal(
              [&](QWidget* box) {
                auto* progress = qobject_cast<QProgressDialog*>(box);
                progressText = progress->labelText();
                progress->cancel();
              },
              "GifExportProgress");
        },
        "GifExportDialog");
    f.Trigger("AnimatedGIF1");
    QCOMPARE(std::tuple(dialogs, progressText), std::tuple(1, QString("Animated GIF 1 of 4: writing frame 1 of 1")));
    QCOMPARE(f.files.List(), std::vector<std::string>{"walls.fox"});
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void aboutBoxTexts() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    QVERIFY(window.Action("About1")->isEnabled());
    QStringList seen;
    bool boldItalic = false;
    WhenModal([&](QWidget* about) {
      SaveShot(about, "about.png");
      seen << QString::number(qAbs(about->frameGeometry().center().y() - window.frameGeometry().center().y()) <= 1);
      QLabel* title = Find<QLabel>(about, "Label1");
      boldItalic = title->font().bold() && title->font().italic() && title->font().pixelSize() == 29;
      seen << about->windowTitle() << title->text() << Find<QLabel>(about, "Label2")->text()
           << Find<QTextEdit>(about, "Memo1")->toPlainText();
      QPushButton* ok = Find<QPushButton>(about, "OkBtn");
      seen << ok->text();
      ok->click();
    });
    f.Trigger("About1");
    QVERIFY(boldItalic);
    QCOMPARE(seen, QStringList({"1", "About", "Quillmere", "Version " QUILLMERE_VERSION " \"" QUILLMERE_RELEASE_NAME "\"",
                                QString::fromStdString(AboutCreditsText(ShippedCredits())), "Ok"}));
    QVERIFY(seen[4].startsWith("Quillmere, "));
  }

  // The hidden button converts the text palette its hidden field names into
  // "furc.pal" in the current folder and says "Done.".
  void hiddenPaletteConverter() {
    WindowFixture f;
    ui::MainWindow& window = f.Start();
    auto* button = Find<QPushButton>(&window, "Button2");
    auto* field = Find<QLineEdit>(&window, "Edit2");
    QCOMPARE(std::tuple(button->text(), button->isVisible(), field->text(), field->isVisible()),
             std::tuple(QString("PalConvertor"), false, QString("furcadia2.pal.txt"), false));
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(f.files.Path()));
    const std::string text = "199 144 186\r\n  0  10 255\r\n";
    WriteFile(f.files.File("furcadia2.pal.txt"), Bytes(text.begin(), text.end()));
    button->click();
    f.Settle();
    QDir::setCurrent(before);
    QCOMPARE(ReadFile(f.files.File("furc.pal")), (Bytes{199, 144, 186, 0, 10, 255}));
    QCOMPARE(Shown(f), QStringList({"Palette Convertor | Done."}));
  }
};

QUILLMERE_UI_TEST(GifAboutTests);

}  // namespace quillmere::test

#include "gif_about_tests.moc"
