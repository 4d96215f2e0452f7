#include "interface/messages.h"

#include <array>
#include <cstddef>
#include <stdexcept>

namespace quillmere {
namespace {

struct TMsgEntry {
  TMsgId Id;
  std::string_view Caption;
  std::string_view Text;
  TMsgIcon Icon;
  TMsgButtons Buttons;
};

constexpr std::string_view kQuillmere = "Quillmere";
constexpr std::string_view kWarning = "Quillmere: Warning";
constexpr std::string_view kError = "Error!";
constexpr std::string_view kInformation = "Information";

// clang-format off
constexpr std::array kMessages = {
  TMsgEntry{TMsgId::FiletypeMismatch, kWarning,
    "Warning: Filetype does not match filename.\rUsing Save As is recommended to avoid possible data loss.",
    TMsgIcon::Warning, TMsgButtons::Ok},
  TMsgEntry{TMsgId::LoadingError, kQuillmere,
    "Error during loading, some data may not be recoverable.",
    TMsgIcon::Warning, TMsgButtons::Ok},
  TMsgEntry{TMsgId::NotAFOXFile, kQuillmere,
    "Error: Not a Furcadia FOX file!", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::UnknownFOXVersion, kQuillmere,
    "Error: Unknown FOX version: %s", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::EncryptedFOX, kQuillmere,
    "Error: Encrypted FOX! This cannot be read.", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::EncryptedFS2, kError,
    "This FS2 file is encrypted and cannot be loaded!", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::InvalidChunkData, kError,
    "ERROR: Invalid/Unexpected Chunk Data", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::FBJUnrecognised, kError,
    "The FBJ file exists but is an unrecognised version.\rFBJ flags will not transfer.",
    TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::FBJNewer, kError,
    "The FBJ file appears to be newer than supported. Attempt to load it anyway?\r",
    TMsgIcon::Error, TMsgButtons::YesNo},
  TMsgEntry{TMsgId::FS2WithoutFBJ, kWarning,
    "Warning. Due to limitations FBJ will not be saved with FS2 format.\rContinue?",
    TMsgIcon::Warning, TMsgButtons::OkCancel},
  TMsgEntry{TMsgId::FileNotSaved, kInformation,
    "File not saved.", TMsgIcon::Information, TMsgButtons::Ok},
  TMsgEntry{TMsgId::DataLossFSH, kWarning,
    "Warning: Data has been found that will be lost when saving to FSH. Continue?",
    TMsgIcon::Warning, TMsgButtons::OkCancel},
  TMsgEntry{TMsgId::ShapeTooLargeForFSH, kQuillmere,
    "Shape %s is %s x %s pixels, larger than the 255 x 255 that an %s file can hold.\rFile not saved.",
    TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::TooManyShapesForFSH, kQuillmere,
    "The document holds %s shapes, more than the 65535 that an %s file can count.\rFile not saved.",
    TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::EncodingNotForFSH, kQuillmere,
    "The first frame of shape %s stores its pixels with encoding %s, which an %s file can't hold.\rFile not saved.",
    TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::DuplicateRemoval, "Duplicate Removal",
    "Before: %s\nAfter: %s\nRemoved %s objects.", TMsgIcon::Information, TMsgButtons::Ok},
  TMsgEntry{TMsgId::GifNoFrames, kQuillmere,
    "This object has no frames to export.\rNo file was written.", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::GifNoSteps, kQuillmere,
    "This object has no KitterSpeak steps to play.\rNo file was written.", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::GifPictureTooLarge, kQuillmere,
    "Picture %s of this animation needs %s x %s pixels, too large for a GIF export.\rNo file was written.",
    TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::GifNothingShown, kQuillmere,
    "Playing the KitterSpeak script of this object shows no frame.\rNo file was written.",
    TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::ReplaceExistingFile, "Confirm Save As",
    "%s already exists.\rDo you want to replace it?", TMsgIcon::Warning, TMsgButtons::YesNo},
  TMsgEntry{TMsgId::PaletteConverted, "Palette Convertor",
    "Done.", TMsgIcon::Information, TMsgButtons::Ok},
  TMsgEntry{TMsgId::ScriptFull, kQuillmere,
    "A KitterSpeak script holds at most 65535 steps.\r%s pasted steps were left out.",
    TMsgIcon::Warning, TMsgButtons::Ok},
  TMsgEntry{TMsgId::UnableToWrite, kQuillmere,
    "Unable to write to %s", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::RecentFileMissing, kQuillmere,
    "The file ...\n\"%s\"\nno longer exists.", TMsgIcon::Information, TMsgButtons::Ok},
  TMsgEntry{TMsgId::ResetColors, "Color Reset",
    "Are you sure you want to reset highlight colors to defaults?",
    TMsgIcon::Question, TMsgButtons::OkCancel},
  TMsgEntry{TMsgId::NothingToEdit, "Whoops!",
    "Nothing selected to edit!", TMsgIcon::Warning, TMsgButtons::Ok},
  TMsgEntry{TMsgId::UnsavedChanges, kWarning,
    "You have unsaved changes. Do you want to save them?", TMsgIcon::Warning, TMsgButtons::YesNoCancel},
  TMsgEntry{TMsgId::SourceUnsavedChanges, kWarning,
    "You have unsaved changes in the SOURCE grid. Do you want to save them?",
    TMsgIcon::Warning, TMsgButtons::YesNoCancel},
  TMsgEntry{TMsgId::SourceUnsavedNoObjects, kWarning,
    "The SOURCE has unsaved changes, but has no objects. Do you wish to delete the file?",
    TMsgIcon::Warning, TMsgButtons::YesNoCancel},
  TMsgEntry{TMsgId::SourceEmptyDelete, kWarning,
    "The source is empty - do you wish to delete the file?", TMsgIcon::Warning, TMsgButtons::YesNo},
  TMsgEntry{TMsgId::SaveSourceConfirm, kWarning,
    "Are you sure you want to save the changes to the source?\rThis cannot be undone!",
    TMsgIcon::Warning, TMsgButtons::YesNo},
  TMsgEntry{TMsgId::ChangedOnDisk, kWarning,
    "%s was changed on disk since it was opened. Overwrite it?", TMsgIcon::Warning, TMsgButtons::YesNo},
  TMsgEntry{TMsgId::SourceHasNoFile, kQuillmere,
    "The source has no file to save to, so nothing was written.\rA file that was not read completely is never written back.",
    TMsgIcon::Warning, TMsgButtons::Ok},
  TMsgEntry{TMsgId::RecentFileNotFound, kError,
    "File not found, cannot load.", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::UnrecognisedFiletype, kQuillmere,
    "Unrecognised Filetype: %s", TMsgIcon::Error, TMsgButtons::Ok},
  TMsgEntry{TMsgId::DropOnValidCell, "Sorry",
    "You need to drop items on a valid cell.", TMsgIcon::Error, TMsgButtons::Ok},
};
// clang-format on

const TMsgEntry& Entry(TMsgId id) {
  for (const TMsgEntry& entry : kMessages) {
    if (entry.Id == id) return entry;
  }
  throw std::logic_error("message missing from the table");
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size() + 32);
  auto next = args.begin();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's' && next != args.end()) {
      out.append(*next++);
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

TMessage MakeMessage(TMsgId id, std::initializer_list<std::string_view> args) {
  const TMsgEntry& entry = Entry(id);
  return TMessage{std::string(entry.Caption), Fill(entry.Text, args), entry.Icon, entry.Buttons};
}

TMsgAnswer Show(UserInterface& ui, TMsgId id, std::initializer_list<std::string_view> args) {
  return ui.ShowMessage(MakeMessage(id, args));
}

std::string_view IconName(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::Information:
      return "information";
    case TMsgIcon::Warning:
      return "warning";
    case TMsgIcon::Error:
      return "error";
    case TMsgIcon::Question:
      return "question";
  }
  return "information";
}

std::string_view ButtonsName(TMsgButtons buttons) {
  switch (buttons) {
    case TMsgButtons::Ok:
      return "ok";
    case TMsgButtons::OkCancel:
      return "okcancel";
    case TMsgButtons::YesNo:
      return "yesno";
    case TMsgButtons::YesNoCancel:
      return "yesnocancel";
  }
  return "ok";
}

std::string_view AnswerName(TMsgAnswer answer) {
  switch (answer) {
    case TMsgAnswer::Ok:
      return "ok";
    case TMsgAnswer::Cancel:
      return "cancel";
    case TMsgAnswer::Yes:
      return "yes";
    case TMsgAnswer::No:
      return "no";
  }
  return "ok";
}

void ShowGeneralError(UserInterface& ui, std::string_view text) {
  ui.ShowMessage(TMessage{std::string(kGeneralErrorCaption), std::string(text), TMsgIcon::Error,
                          TMsgButtons::Ok});
}

}  // namespace quillmere
