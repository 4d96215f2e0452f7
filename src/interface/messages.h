#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "interface/user_interface.h"

namespace quillmere {

// Every message box the core can show. The texts live in one table
// (messages.cpp); "%s" in a text is filled from the arguments in order.
enum class TMsgId {
  FiletypeMismatch,
  LoadingError,
  NotAFOXFile,
  UnknownFOXVersion,
  EncryptedFOX,
  EncryptedFS2,
  InvalidChunkData,
  FBJUnrecognised,
  FBJNewer,
  FS2WithoutFBJ,
  FileNotSaved,
  DataLossFSH,
  ShapeTooLargeForFSH,
  TooManyShapesForFSH,
  EncodingNotForFSH,
  DuplicateRemoval,
  GifNoFrames,
  GifNoSteps,
  GifPictureTooLarge,
  GifNothingShown,
  ReplaceExistingFile,
  PaletteConverted,
  ScriptFull,
  UnableToWrite,
  RecentFileMissing,
  ResetColors,
  NothingToEdit,
  UnsavedChanges,
  SourceUnsavedChanges,
  SourceUnsavedNoObjects,
  SourceEmptyDelete,
  SaveSourceConfirm,
  ChangedOnDisk,
  SourceHasNoFile,
  RecentFileNotFound,
  UnrecognisedFiletype,
  DropOnValidCell,
};

TMessage MakeMessage(TMsgId id, std::initializer_list<std::string_view> args = {});

// Shows the message and returns the answer.
TMsgAnswer Show(UserInterface& ui, TMsgId id, std::initializer_list<std::string_view> args = {});

// The caption of the general error handler's box.
inline constexpr std::string_view kGeneralErrorCaption = "Quillmere";

}  // namespace quillmere
