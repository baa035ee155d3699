#include "AnsiCodePage.h"

#include <windows.h>

namespace AnsiCodePage {

namespace {
// 0 stands for CP_ACP so that callers need no Windows header.
UINT pageOf(unsigned codePage) { return codePage == 0 ? CP_ACP : codePage; }

std::wstring toWideIn(const std::string &bytes, UINT page)
{
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, wide.data(), length);
    return wide;
}
} // namespace

std::wstring wideFromUtf8(const std::string &utf8) { return toWideIn(utf8, CP_UTF8); }

std::string utf8FromWide(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> fromWide(const std::wstring &wide, unsigned codePage)
{
    if (wide.empty())
        return std::string();
    const UINT page = pageOf(codePage);
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length, nullptr, &usedDefault);
    // Some code pages map a character without reporting the default; only an
    // exact round trip proves that nothing was replaced.
    if (usedDefault || toWideIn(bytes, page) != wide)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> fromUtf8(const std::string &utf8, unsigned codePage)
{
    return fromWide(wideFromUtf8(utf8), codePage);
}

} // namespace AnsiCodePage
