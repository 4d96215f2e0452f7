#include "ui/centre_panel.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

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
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  setFixedHeight(kCentrePanelHeight);
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    const auto which = static_cast<TPanelButton>(i);
    // Tool buttons: a push button's margins leave no room for a glyph and
    // "Insert Before" in the panel's 90 pixels.
    auto* button = new QToolButton(this);
    button->setText(QString::fromUtf8(kDesign[i].Caption));
    button->setToolButtonStyle(kDesign[i].Caption[0] != '\0' ? Qt::ToolButtonTextBesideIcon
                                                             : Qt::ToolButtonIconOnly);
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
  FitCaptions();
}

// The caption buttons are 90 pixels wide whatever the person's font; a font
// too wide for a glyph and "Insert Before" is made just small enough to fit.
void CentrePanel::FitCaptions() {
  constexpr int kGlyph = 12;
  constexpr int kRoom = 90 - kGlyph - 4 - 2 * 4;  // the glyph, the gap, the margins
  QFont font = this->font();
  int widest = 0;
  for (const TButtonDesign& design : kDesign) {
    QString caption = QString::fromUtf8(design.Caption);
    caption.remove(QLatin1Char('&'));
    widest = std::max(widest, QFontMetrics(font).horizontalAdvance(caption));
  }
  if (widest > kRoom && font.pointSizeF() > 0) {
    font.setPointSizeF(std::max(6.0, font.pointSizeF() * kRoom / widest));
    for (QToolButton* button : buttons_) button->setFont(font);
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
