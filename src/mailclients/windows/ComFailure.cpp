#include "ComFailure.h"

#include "AnsiCodePage.h"

#include <cstdio>

namespace com {

std::string describeResult(HRESULT result)
{
    char code[32];
    std::snprintf(code, sizeof code, "HRESULT 0x%08lX", static_cast<unsigned long>(result));
    std::string text = code;

    wchar_t *message = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t *>(&message), 0, nullptr);
    if (length > 0 && message) {
        std::wstring wide(message, length);
        while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' '))
            wide.pop_back();
        if (!wide.empty())
            text += " (" + AnsiCodePage::utf8FromWide(wide) + ")";
    }
    if (message)
        LocalFree(message);
    return text;
}

void fail(const std::string &member, HRESULT result, const std::string &detail)
{
    std::string reason = describeResult(result);
    if (!detail.empty())
        reason = detail + ", " + reason;
    throw automation::Failure(member, reason, static_cast<long>(result));
}

} // namespace com
