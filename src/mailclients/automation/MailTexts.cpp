#include "MailTexts.h"

namespace {

// Walks the characters of a UTF-8 text, each with the UTF-16 position it
// starts at, until visit returns true; gives the UTF-16 length walked.
template <typename Visit>
std::int32_t walkCharacters(const std::string &text, Visit visit)
{
    const auto continues = [&text](std::size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; };
    std::int32_t units = 0;
    std::size_t at = 0;
    while (at < text.size() && continues(at))
        ++at;  // no character starts inside a sequence
    while (at < text.size()) {
        std::size_t length = 1;
        while (at + length < text.size() && continues(at + length))
            ++length;
        if (visit(ByteSpan{at, length}, units))
            return units;
        units += static_cast<unsigned char>(text[at]) >= 0xF0 ? 2 : 1;  // beyond the basic plane: two units
        at += length;
    }
    return units;
}

} // namespace

automation::TextArray SplitRecipients(const std::string &list)
{
    automation::TextArray entries;
    if (list.empty())
        return entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(';', start);
        entries.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return entries;
        start = end + 1;
    }
}

std::int32_t Utf16Length(const std::string &text)
{
    return walkCharacters(text, [](ByteSpan, std::int32_t) { return false; });
}

std::optional<ByteSpan> CharacterAtUtf16(const std::string &text, std::int32_t position)
{
    std::optional<ByteSpan> found;
    walkCharacters(text, [&found, position](ByteSpan character, std::int32_t units) {
        if (units == position)
            found = character;
        return units >= position;
    });
    return found;
}
