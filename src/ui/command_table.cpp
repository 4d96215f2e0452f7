#include "ui/command_table.h"

#include <array>

namespace quillmere::ui {
namespace {

using enum TCommand;
using enum TRowKind;
using enum TMenuPlace;

constexpr std::string_view kFile = "&File";
constexpr std::string_view kFileExport = "&File/Export";
constexpr std::string_view kFileEditImage = "&File/Edit Image";
constexpr std::string_view kEdit = "&Edit";
constexpr std::string_view kSource = "&Source";
constexpr std::string_view kSourceExport = "&Source/Export";
constexpr std::string_view kSourceEditImage = "&Source/Edit Image";
constexpr std::string_view kOptions = "Options";
constexpr std::string_view kHelp = "&Help";

constexpr std::array kRows{
    TMenuRow{MenuBar, kFile, Item, "&New Destination", New1Click, "Ctrl+N", "New1"},
    TMenuRow{MenuBar, kFile, Item, "&Open Destination...", Open1Click, "Ctrl+O", "Open1"},
    TMenuRow{MenuBar, kFile, Recent, "Recent", None, {}, "Recent1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{MenuBar, kFile, Item, "&Save Destination", SaveDestination1Click, "Ctrl+S", "SaveDestination1"},
    TMenuRow{MenuBar, kFile, Item, "Save Destination &As...", SaveAs1Click, {}, "SaveAs1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{MenuBar,
             kFile,
             Item,
             "Save Source && Destination",
             SaveSourceDestination1Click,
             {},
             "SaveSourceDestination1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{
        MenuBar, kFileExport, Item, "Export Destination Object...", ExportObject1Click, {}, "ExportObject3"},
    TMenuRow{MenuBar, kFileExport, Item, "Animated GIF...", AnimatedGIF1Click, {}, "AnimatedGIF1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{
        MenuBar, kFile, Item, "Reload Destination...", ReloadDestination1Click, {}, "ReloadDestination1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{MenuBar,
             kFile,
             Item,
             "Edit KitterSpeak Script...",
             EditAnimationScript1Click,
             {},
             "EditAnimationScript1"},
    TMenuRow{MenuBar, kFile, Item, "Shape Properties...", Properties1Click, {}, "Properties1"},
    TMenuRow{
        MenuBar, kFileEditImage, Item, "Flip Horizontally", FlipHorizontally1Click, {}, "FlipHorizontally1"},
    TMenuRow{MenuBar, kFileEditImage, Item, "Flip Vertically", FlipVertically1Click, {}, "FlipVertically1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{MenuBar, kFile, Item, "Remove Duplicates...", RemoveDuplicates1Click, {}, "RemoveDuplicates1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{
        MenuBar, kFile, Item, "Object Number Offset...", ObjectNumberOffset1Click, {}, "ObjectNumberOffset1"},
    TMenuRow{MenuBar, kFile, Separator, {}},
    TMenuRow{MenuBar, kFile, Item, "E&xit", Exit1Click, {}, "Exit1"},

    // The window sets both captions to name the step they would take.
    TMenuRow{MenuBar, kEdit, Item, "&Undo", Undo1Click, "Ctrl+Z", "Undo1"},
    TMenuRow{MenuBar, kEdit, Item, "&Redo", Redo1Click, "Ctrl+Shift+Z; Ctrl+Y", "Redo1"},

    TMenuRow{MenuBar, kSource, Item, "&Import...", Import1Click, "Ctrl+I", "Import1"},
    TMenuRow{MenuBar, kSource, Item, "Reload Source...", RefreshSource1Click, {}, "RefreshSource1"},
    TMenuRow{MenuBar, kSource, Recent, "Recent", None, {}, "Recent2"},
    TMenuRow{MenuBar, kSource, Separator, {}},
    TMenuRow{
        MenuBar, kSource, Item, "Save Source Changes", SaveSourceChanges1Click, {}, "SaveSourceChanges1"},
    TMenuRow{MenuBar, kSource, Separator, {}},
    TMenuRow{MenuBar, kSourceExport, Item, "Export Object...", ExportObject2Click, {}, "ExportObject4"},
    TMenuRow{MenuBar, kSourceExport, Item, "Animated GIF...", AnimatedGIF2Click, {}, "AnimatedGIF2"},
    TMenuRow{MenuBar, kSource, Separator, {}},
    TMenuRow{MenuBar, kSource, Item, "Shape Properties...", MenuItem1Click, {}, "MenuItem1"},
    TMenuRow{MenuBar,
             kSource,
             Item,
             "Edit KitterSpeak Script...",
             EditAnimationScript3Click,
             {},
             "EditAnimationScript3"},
    TMenuRow{MenuBar,
             kSourceEditImage,
             Item,
             "Flip Horizontally",
             FlipHorizontally2Click,
             {},
             "FlipHorizontally2"},
    TMenuRow{MenuBar, kSourceEditImage, Item, "Flip Vertically", FlipVertically2Click, {}, "FlipVertically2"},
    TMenuRow{MenuBar, kSource, Separator, {}},
    TMenuRow{MenuBar,
             kSource,
             Item,
             "Object Number Offset...",
             ObjectNumberOffset2Click,
             {},
             "ObjectNumberOffset2"},
    TMenuRow{MenuBar, kSource, Separator, {}},
    TMenuRow{MenuBar, kSource, Check, "&Drag and Drop", DragandDrop1Click, {}, "DragandDrop1"},
    TMenuRow{MenuBar,
             kSource,
             Check,
             "Tooltips (Balloon Help)",
             tooltipsBalloonHelp1Click,
             {},
             "tooltipsBalloonHelp1"},

    TMenuRow{MenuBar, kOptions, Check, "Copy Objects", CopyObjects1Click, {}, "CopyObjects1"},
    TMenuRow{MenuBar, kOptions, Check, "Move Objects", MoveObjects1Click, {}, "MoveObjects1"},
    TMenuRow{MenuBar, kOptions, Separator, {}},
    TMenuRow{MenuBar,
             kOptions,
             Check,
             "Save FBJ Information (FSH Only)",
             SaveFBJInformation1Click,
             {},
             "SaveFBJInformation1"},
    TMenuRow{MenuBar, kOptions, Separator, {}},
    TMenuRow{MenuBar, kOptions, Check, "Large Highlight", LargeHighlight1Click, {}, "LargeHighlight1"},
    TMenuRow{MenuBar, kOptions, Separator, {}},
    TMenuRow{MenuBar,
             kOptions,
             Item,
             "Main Highlight Color...",
             MainHighlightColor1Click,
             {},
             "MainHighlightColor1"},
    TMenuRow{MenuBar,
             kOptions,
             Item,
             "SubFrame Highlight Color...",
             SubFrameHighlightColor1Click,
             {},
             "SubFrameHighlightColor1"},
    TMenuRow{MenuBar, kOptions, Separator, {}},
    TMenuRow{MenuBar,
             kOptions,
             Item,
             "Reset Colors to Default...",
             ResetColorstoDefault1Click,
             {},
             "ResetColorstoDefault1"},

    TMenuRow{MenuBar, kHelp, Item, "Contents...", Contents1Click, "F1", "Contents1"},
    TMenuRow{MenuBar, kHelp, Item, "Website...", Website1Click, {}, "Website1"},
    TMenuRow{MenuBar, kHelp, Item, "Support...", Support1Click, {}, "Support1"},
    TMenuRow{MenuBar, kHelp, Separator, {}},
    TMenuRow{MenuBar, kHelp, Item, "&About...", About1Click, {}, "About1"},

    TMenuRow{PopupMenu1, {}, Item, "Shape Properties...", Properties1Click},
    TMenuRow{PopupMenu1, {}, Item, "Edit KitterSpeak Script...", EditAnimationScript1Click},
    TMenuRow{PopupMenu1, {}, Separator, {}},
    TMenuRow{PopupMenu1, {}, Item, "Object Number Offset...", ObjectNumberOffset1Click},
    TMenuRow{PopupMenu1, {}, Separator, {}},
    TMenuRow{PopupMenu1, {}, Item, "Open Destination...", Open1Click},

    TMenuRow{PopupMenu2, {}, Item, "Shape Properties...", MenuItem1Click},
    TMenuRow{PopupMenu2, {}, Item, "Edit KitterSpeak Script...", EditAnimationScript3Click},
    TMenuRow{PopupMenu2, {}, Separator, {}},
    TMenuRow{PopupMenu2, {}, Item, "Object Number Offset...", ObjectNumberOffset2Click},
    TMenuRow{PopupMenu2, {}, Separator, {}},
    TMenuRow{PopupMenu2, {}, Item, "Import Source...", Import1Click},

    TMenuRow{MSubFPopup, {}, Item, "Shape Properties...", ShapeProperties3Click},

    TMenuRow{SSubFPopup, {}, Item, "Shape Properties...", ShapeProperties4Click},
    TMenuRow{SSubFPopup, {}, Separator, {}},
    TMenuRow{SSubFPopup, {}, Item, "Export Subframes...", ExportSubframes},
};

constexpr std::array<std::string_view, static_cast<std::size_t>(TCommand::Redo1Click) + 1> kNames{
    "None",
    "New1Click",
    "Open1Click",
    "SaveDestination1Click",
    "SaveAs1Click",
    "SaveSourceDestination1Click",
    "ExportObject1Click",
    "AnimatedGIF1Click",
    "ReloadDestination1Click",
    "EditAnimationScript1Click",
    "Properties1Click",
    "FlipHorizontally1Click",
    "FlipVertically1Click",
    "RemoveDuplicates1Click",
    "ObjectNumberOffset1Click",
    "Exit1Click",
    "Import1Click",
    "RefreshSource1Click",
    "SaveSourceChanges1Click",
    "ExportObject2Click",
    "AnimatedGIF2Click",
    "MenuItem1Click",
    "EditAnimationScript3Click",
    "FlipHorizontally2Click",
    "FlipVertically2Click",
    "ObjectNumberOffset2Click",
    "DragandDrop1Click",
    "tooltipsBalloonHelp1Click",
    "CopyObjects1Click",
    "MoveObjects1Click",
    "SaveFBJInformation1Click",
    "LargeHighlight1Click",
    "MainHighlightColor1Click",
    "SubFrameHighlightColor1Click",
    "ResetColorstoDefault1Click",
    "Contents1Click",
    "Website1Click",
    "Support1Click",
    "About1Click",
    "ShapeProperties3Click",
    "ShapeProperties4Click",
    "ExportSubframes",
    "TrashClick",
    "InsertForeClick",
    "InsertAftClick",
    "ReplaceitClick",
    "MoveLeftClick",
    "MoveRightClick",
    "Undo1Click",
    "Redo1Click",
};

}  // namespace

std::span<const TMenuRow> MenuRows() { return kRows; }

std::string_view CommandName(TCommand command) { return kNames[static_cast<std::size_t>(command)]; }

bool AwaitsDialog(TCommand command) {
  switch (command) {
    case ExportSubframes:
      return true;
    default:
      return false;
  }
}

}  // namespace quillmere::ui
