#include "AnsiCodePage.h"
#include "TestHarness.h"

#include <optional>

namespace {
// "é" "€" "ł" "Ω" "Ж" in UTF-8, spelled out so the test does not depend on the source's encoding.
const std::string eAcute = "\xC3\xA9", euro = "\xE2\x82\xAC", lStroke = "\xC5\x82", omega = "\xCE\xA9", zhe = "\xD0\x96";
} // namespace

TEST(textsConvertToTheCodePageOnlyWhenItHoldsEveryCharacter)
{
    struct Case
    {
        const char *label;
        unsigned codePage;
        std::string utf8;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {"empty", 1252, "", std::string()},
        {"ascii", 1252, "Bonjour;a@b.fr", std::string("Bonjour;a@b.fr")},
        {"accent", 1252, "d" + eAcute + "j" + eAcute, std::string("d\xE9j\xE9")},
        {"euro sits at 0x80", 1252, euro, std::string("\x80")},
        {"line ends kept", 1252, "a\r\nb", std::string("a\r\nb")},
        // Best fit would quietly write "l" and lose the letter.
        {"no best fit", 1252, "Ko" + lStroke + "o", std::nullopt},
        {"greek missing", 1252, omega, std::nullopt},
        {"cyrillic page", 1251, zhe, std::string("\xC6")},
        {"accent missing in cyrillic page", 1251, eAcute, std::nullopt},
    };
    for (const auto &c : cases) {
        harness::caseLabel() = c.label;
        const auto bytes = AnsiCodePage::fromUtf8(c.utf8, c.codePage);
        CHECK_EQ(bytes.has_value(), c.bytes.has_value());
        if (bytes && c.bytes) {
            CHECK_EQ(*bytes, *c.bytes);
            CHECK_EQ(AnsiCodePage::toUtf8(*bytes, c.codePage), c.utf8);
        }
    }
}

TEST(wideAndUtf8RoundTrip)
{
    const std::string utf8 = "Caf" + eAcute + " " + euro + " " + zhe + " \xF0\x9F\x93\xA7"; // and an emoji beyond 16 bits
    const std::wstring wide = AnsiCodePage::wideFromUtf8(utf8);
    CHECK_EQ(wide.size(), size_t(11)); // the emoji takes a surrogate pair
    CHECK_EQ(AnsiCodePage::utf8FromWide(wide), utf8);
    CHECK(!AnsiCodePage::fromWide(wide, 1252).has_value());
}
