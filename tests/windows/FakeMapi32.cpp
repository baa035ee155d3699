// Stands in for MAPI32.DLL: records what Simple MAPI receives, as text the
// tests compare, and fails a function on request.
#include <windows.h>
#include <mapi.h>

#include <cstring>
#include <string>

namespace {
std::string journal;
std::string failingFunction;
ULONG failingCode = 0;
// Above 32 bits, as a real handle may be on 64-bit Windows.
const LHANDLE sessionHandle = static_cast<LHANDLE>(0x1234567890ull);

std::string text(const char *value) { return value ? "[" + std::string(value) + "]" : "(null)"; }

bool failing(const char *function)
{
    return failingFunction == function;
}
} // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR profile, LPSTR password, FLAGS flags, ULONG, LPLHANDLE session)
{
    journal += "MAPILogon profile=" + text(profile) + " password=" + text(password) + " flags=" + std::to_string(flags) + "\n";
    if (failing("MAPILogon"))
        return failingCode;
    *session = sessionHandle + (flags & MAPI_NEW_SESSION ? 0 : 1);
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG)
{
    journal += std::string("MAPILogoff ") + (session == sessionHandle ? "session" : "unknown") + "\n";
    return failing("MAPILogoff") ? failingCode : SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG)
{
    journal += std::string("MAPISendMail ") + (session == sessionHandle ? "session" : "unknown") + " flags=" + std::to_string(flags) + "\n";
    journal += "subject=" + text(message->lpszSubject) + " note=" + text(message->lpszNoteText) + "\n";
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc &recipient = message->lpRecips[i];
        journal += "recipient class=" + std::to_string(recipient.ulRecipClass) + " name=" + text(recipient.lpszName)
                   + " address=" + text(recipient.lpszAddress) + "\n";
    }
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc &file = message->lpFiles[i];
        journal += "file flags=" + std::to_string(file.flFlags) + " position=" + std::to_string(static_cast<long>(file.nPosition))
                   + " path=" + text(file.lpszPathName) + " name=" + text(file.lpszFileName) + "\n";
    }
    return failing("MAPISendMail") ? failingCode : SUCCESS_SUCCESS;
}

// For the tests: what was received since the last reset, and the next failure.
__declspec(dllexport) const char *FakeMapiJournal() { return journal.c_str(); }

__declspec(dllexport) void FakeMapiReset(const char *function, ULONG code)
{
    journal.clear();
    failingFunction = function ? function : "";
    failingCode = code;
}

} // extern "C"
