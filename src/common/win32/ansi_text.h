#pragma once
// UTF-16 text and the system's ANSI code page (932 on Japanese Windows), for the Windows 95, 98 and
// ME road, where windows, files and dialogs take text in that code page.

#include <optional>
#include <string>
#include <string_view>

namespace common::win32 {

std::u16string FromAnsi(std::string_view text);
// A character the code page cannot hold becomes its default character ("?").
std::string ToAnsi(std::u16string_view text);
// Nothing when a character cannot be held exactly: a file name must never be guessed.
std::optional<std::string> ToAnsiExactly(std::u16string_view text);

}  // namespace common::win32
