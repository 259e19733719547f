#pragma once

#include <optional>
#include <string>

// What the program needs of a desktop entry (a ".desktop" file): the command it runs.

// The value of the "Exec" key of the "[Desktop Entry]" group with the string escapes
// (\s \n \t \r \\) undone; empty when the group or the key is missing or the value is blank.
// Localised keys ("Exec[de]") are other keys; of two "Exec" keys the first counts.
std::optional<std::string> DesktopEntryExec(const std::string& text);

// Whether a name, as `xdg-mime query default` gives it, can be a desktop file's id:
// a plain file name ending in ".desktop", no folder, no control bytes, not too long.
bool IsDesktopFileId(const std::string& id);

// Reads the desktop entry at `path` (a regular file of at most 1 MiB, opened without
// blocking) and gives its command; empty when it cannot be read or has none.
std::optional<std::string> ReadDesktopEntryExec(const std::string& path);
