#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// The settings file: an INI document bound to one file. Section and key names
// are written exactly as given (no escaping, so "[MRU - Destination]" and a
// value "C:\Shapes\walls.fox" stay as typed) and looked up ignoring ASCII
// letter case. Lines it does not understand (comments, damage) are kept.
//
// Every write goes straight to the file: the file is read again, changed and
// replaced atomically, so two objects bound to the same file (the options and
// the recent lists) never undo each other's entries. A failed write throws
// WriteError "Unable to write to <file name>" for the general error handler;
// the document and the file then stay as they were, and a caller writing
// several entries stops at the first failure.
class TIniFile {
 public:
  // Reads the file; a missing, unreadable or oversized file is an empty document.
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  // Reads the file again.
  void Reload();

  // The value after the first "=" of the first entry named `key` in the
  // first section named `section`, as written; `defaultValue` when the
  // section or the entry does not exist.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // The value as a decimal integer, blanks around it allowed; `defaultValue`
  // when missing or not an integer.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // Read as an integer, any non-zero value meaning true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // A value is cut at its first line break, which would otherwise start a
  // new entry. Section and key names are the program's own and hold no "]",
  // "=" or line break.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // "1" or "0".
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The document as it would be written.
  std::string Text() const;

 private:
  std::string fileName_;
  std::vector<std::string> lines_;
};

}  // namespace quillmere
