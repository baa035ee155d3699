#pragma once

#include "Variant.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Texts as the mail clients' automation classes take them, said once for the
// routes that hand them over and the controls that take them.

// A ";"-separated recipient list cut at every ";": the empty text gives no
// entry, a trailing ";" a last empty entry. Entries are kept as typed.
automation::TextArray SplitRecipients(const std::string &list);

// Length of a UTF-8 text in UTF-16 code units, as the mail controls count characters.
std::int32_t Utf16Length(const std::string &text);

// The bytes of the character that starts at UTF-16 position `position`, or
// nothing when none starts there (past the end, or inside a pair).
struct ByteSpan
{
    std::size_t offset = 0;
    std::size_t length = 0;
};
std::optional<ByteSpan> CharacterAtUtf16(const std::string &text, std::int32_t position);
