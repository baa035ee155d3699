#include "RouteTexts.h"

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
    std::int32_t length = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) == 0x80)
            continue;
        length += (byte >= 0xF0) ? 2 : 1;  // beyond the basic plane a character takes two units
    }
    return length;
}
