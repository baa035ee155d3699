#pragma once

#include <optional>
#include <string>

// Conversions between the automation layer's UTF-8, Windows' UTF-16 and an
// 8-bit code page (the system's ANSI code page unless told otherwise).
// Plain Win32, no Qt.
namespace AnsiCodePage {

std::wstring wideFromUtf8(const std::string &utf8);
std::string utf8FromWide(const std::wstring &wide);

// The text in the code page, or nothing when a character has no exact
// equivalent there (no best-fit substitutes such as "e" for "é").
std::optional<std::string> fromUtf8(const std::string &utf8, unsigned codePage = 0);
std::optional<std::string> fromWide(const std::wstring &wide, unsigned codePage = 0);

} // namespace AnsiCodePage
