#pragma once

#include "automation/Variant.h"

#include <cstdint>
#include <string>

// Texts the routes hand over.

// A ";"-separated recipient list cut at every ";": the empty text gives no
// entry, a trailing ";" a last empty entry. Entries are kept as typed.
automation::TextArray SplitRecipients(const std::string &list);

// Length of a UTF-8 text in UTF-16 code units, as the mail controls count characters.
std::int32_t Utf16Length(const std::string &text);
