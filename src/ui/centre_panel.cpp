#include "ui/centre_panel.h"

#include <QResizeEvent>

#include "ui/glyphs.h"

namespace quillmere::ui {
namespace {

struct TButtonDesign {
  const char* Name;
  const char* Caption;     // empty: an image-only button
  const char* Accessible;  // what a screen reader calls an image-only button
};

constexpr std::array<TButtonDesign, 6> kDesign{{
    {"Trash", "", "Delete"},
    {"InsertFore", "Insert &Before", ""},
    {"insertAft", "Insert &After", ""},
    {"Replaceit", "&Replace", ""},
    {"MoveLeft", "", "Shift Left"},
    {"MoveRight", "", "Shift Right"},
}};

constexpr std::array<const char*, 6> kHints{
    "Delete selected images from the destination",
    "Insert the selected source images before the destination selection",
    "Insert the selected source images after the destination selection",
    "Replace the selected destination images with the selected source images",
    "Shift selected destination images to the left",
    "Shift selected destination images to the right",
};

}  // namespace

const char* PanelHint(TPanelButton button) { return kHints[static_cast<std::size_t>(button)]; }

CentrePanel::CentrePanel(QWidget* parent) : QFrame(parent) {
  setObjectName("CenterControlPanel");
  setFrameShape(QFrame::Box);
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  setFixedHeight(kCentrePanelHeight);
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    const auto which = static_cast<TPanelButton>(i);
    auto* button = new QPushButton(QString::fromUtf8(kDesign[i].Caption), this);
    button->setObjectName(kDesign[i].Name);
    button->setIcon(PanelGlyph(which));
    button->setIconSize(
        QSize(kDesign[i].Caption[0] != '\0' ? 12 : 16, kDesign[i].Caption[0] != '\0' ? 12 : 16));
    button->setAccessibleDescription(PanelHint(which));
    if (kDesign[i].Accessible[0] != '\0') button->setAccessibleName(kDesign[i].Accessible);
    // The buttons act on the grids' selections; taking the focus from a grid
    // would hide the large highlight the person is working by.
    button->setFocusPolicy(Qt::TabFocus);
    buttons_[i] = button;
  }
}

void CentrePanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const QRect client = contentsRect();
  const auto places = CentrePanelLayout(client.width());
  for (std::size_t i = 0; i < places.size(); ++i) {
    const TButtonPlace& place = places[i];
    buttons_[i]->setGeometry(client.left() + place.Left, client.top() + place.Top, place.Width, place.Height);
  }
}

}  // namespace quillmere::ui
