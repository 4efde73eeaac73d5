#pragma once
// The file system as config.ini needs it: where the program lives, whether
// an entry exists, and a whole file read or written at once. Paths are the
// platform's own file names in UTF-8, never program texts. The header is free
// of Qt; the implementation uses QtCore.
#include <optional>
#include <string>
#include <string_view>

// The directory that holds the program file.
std::string ProgramDirectory();

// config.ini in the program directory, built afresh at each call.
std::string ConfigPath();

// True when anything is at `path`: a file, a directory, even a broken link.
bool EntryExists(const std::string& path);

// Every byte of the file; no bytes when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

// Replaces the file's whole content by `bytes`, or leaves it exactly as it was
// and returns false. The new content goes to a temporary file beside it that
// then takes its place, so a crash or a kill during the write leaves either
// the old or the new file. Where the folder allows no new file but the file
// itself is writable, the file is written in place. A read-only file (no
// write permission for anyone, which holds for the administrator as well)
// and a directory at `path` are not written.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Test hook: from now on ProgramDirectory() answers `directory`;
// std::nullopt restores the real one.
void SetProgramDirectoryOverride(std::optional<std::string> directory);
