// Stands in for MAPI32.DLL: records what Simple MAPI receives as text, and fails
// a function on request. The record goes to calls.log beside the program (where
// it is copied as MAPI32.DLL) until a test resets it and reads it here.
#include "LogBesideProgram.h"

#include <mapi.h>

#include <span>

namespace {
std::string journal, failingFunction;
ULONG failingCode = 0;
bool takenByTest = false;
// Above 32 bits, as a real handle may be on 64-bit Windows.
const LHANDLE sessionHandle = static_cast<LHANDLE>(0x1234567890ull);

std::string text(const char *value) { return value ? "[" + std::string(value) + "]" : "(null)"; }
std::string session(LHANDLE handle) { return handle == sessionHandle ? " session" : " unknown"; }
ULONG answer(const char *function) { return failingFunction == function ? failingCode : SUCCESS_SUCCESS; }

void keep(const std::string &entry) { takenByTest ? void(journal += entry) : logBesideProgram(L"calls.log", entry); }
} // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR profile, LPSTR password, FLAGS flags, ULONG, LPLHANDLE handle)
{
    keep("MAPILogon profile=" + text(profile) + " password=" + text(password) + " flags=" + std::to_string(flags) + "\n");
    *handle = sessionHandle;
    return answer("MAPILogon");
}

__declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE handle, ULONG_PTR, FLAGS, ULONG)
{
    keep("MAPILogoff" + session(handle) + "\n");
    return answer("MAPILogoff");
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE handle, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG)
{
    std::string entry = "MAPISendMail" + session(handle) + " flags=" + std::to_string(flags) + "\n";
    entry += "subject=" + text(message->lpszSubject) + " note=" + text(message->lpszNoteText) + "\n";
    for (const MapiRecipDesc &recipient : std::span(message->lpRecips, message->nRecipCount))
        entry += "recipient class=" + std::to_string(recipient.ulRecipClass) + " name=" + text(recipient.lpszName)
                   + " address=" + text(recipient.lpszAddress) + "\n";
    for (const MapiFileDesc &file : std::span(message->lpFiles, message->nFileCount))
        entry += "file flags=" + std::to_string(file.flFlags) + " position=" + std::to_string(static_cast<long>(file.nPosition))
                   + " path=" + text(file.lpszPathName) + " name=" + text(file.lpszFileName) + "\n";
    keep(entry);
    return answer("MAPISendMail");
}

// For the tests: what was received since the last reset, and the next failure.
__declspec(dllexport) const char *FakeMapiJournal() { return journal.c_str(); }

__declspec(dllexport) void FakeMapiReset(const char *function, ULONG code)
{
    takenByTest = true;
    journal.clear();
    failingFunction = function ? function : "";
    failingCode = code;
}

} // extern "C"
