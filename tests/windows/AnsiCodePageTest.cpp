#include "AnsiCodePage.h"
#include "TestHarness.h"

#include <optional>

TEST(textsConvertToTheCodePageOnlyWhenItHoldsEveryCharacter)
{
    struct Case
    {
        const char *label;
        unsigned codePage;
        std::string utf8;
        std::optional<std::string> bytes;
    };
    // UTF-8 spelled out, so that the test does not depend on the source's encoding.
    const Case cases[] = {
        {"empty", 1252, "", std::string()},
        {"accent, line ends", 1252, "d\xC3\xA9j\xC3\xA9\r\n", std::string("d\xE9j\xE9\r\n")},
        {"euro sits at 0x80", 1252, "\xE2\x82\xAC", std::string("\x80")},
        // Best fit would quietly write "l" for the Polish letter.
        {"no best fit", 1252, "Ko\xC5\x82o", std::nullopt},
        {"cyrillic page", 1251, "\xD0\x96", std::string("\xC6")},
        {"accent missing in cyrillic page", 1251, "\xC3\xA9", std::nullopt},
    };
    for (const auto &c : cases) {
        harness::row = c.label;
        const auto bytes = AnsiCodePage::fromUtf8(c.utf8, c.codePage);
        CHECK_EQ(bytes.has_value(), c.bytes.has_value());
        if (bytes && c.bytes) {
            CHECK_EQ(*bytes, *c.bytes);
            CHECK_EQ(AnsiCodePage::toUtf8(*bytes, c.codePage), c.utf8);
        }
    }
}

TEST(wideTextsKeepCharactersBeyondSixteenBits)
{
    const std::string utf8 = "Caf\xC3\xA9 \xF0\x9F\x93\xA7";
    const std::wstring wide = AnsiCodePage::wideFromUtf8(utf8);
    CHECK_EQ(wide.size(), size_t(7)); // the emoji takes a surrogate pair
    CHECK_EQ(AnsiCodePage::utf8FromWide(wide), utf8);
    CHECK(!AnsiCodePage::fromWide(wide, 1252).has_value());
}
