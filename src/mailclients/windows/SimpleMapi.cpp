#include "SimpleMapi.h"

#include "AnsiCodePage.h"
#include "automation/Object.h"

#include <windows.h>
#include <mapi.h>

namespace {

constexpr long MapiFailure = MAPI_E_FAILURE;

std::string mapiReason(const char *function, ULONG code)
{
    return std::string(function) + " failed with MAPI error " + std::to_string(code);
}

// Simple MAPI takes ANSI texts: a character the code page cannot hold would be
// replaced in the sent mail, so the send is refused and the mail stays pending.
std::string ansi(const std::string &text, const std::string &member)
{
    auto bytes = AnsiCodePage::fromUtf8(text);
    if (!bytes)
        throw automation::Failure(member, "text has characters the ANSI code page cannot hold", MapiFailure);
    return *bytes;
}

// The clients look recipients up by address type and address; the address
// doubles as the display name because the message carries no other name.
std::string mapiAddress(const std::string &address)
{
    if (address.empty() || address.find(':') != std::string::npos)
        return address;
    return "SMTP:" + address;
}

} // namespace

SimpleMapi::SimpleMapi(std::wstring libraryName) : libraryName_(std::move(libraryName)) {}

SimpleMapi::~SimpleMapi()
{
    for (const auto &[number, handle] : sessions_)
        reinterpret_cast<LPMAPILOGOFF>(logoff_)(handle, 0, 0, 0);
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
}

void SimpleMapi::load(const std::string &member)
{
    if (module_)
        return;
    HMODULE module = LoadLibraryW(libraryName_.c_str());
    if (!module)
        throw automation::Failure(member, "no Simple MAPI library (" + AnsiCodePage::utf8FromWide(libraryName_) + ")",
                                  static_cast<long>(GetLastError()));
    auto logon = GetProcAddress(module, "MAPILogon");
    auto logoff = GetProcAddress(module, "MAPILogoff");
    auto sendMail = GetProcAddress(module, "MAPISendMail");
    if (!logon || !logoff || !sendMail) {
        FreeLibrary(module);
        throw automation::Failure(member, "the Simple MAPI library lacks MAPILogon, MAPILogoff or MAPISendMail", MapiFailure);
    }
    module_ = module;
    logon_ = reinterpret_cast<void *>(logon);
    logoff_ = reinterpret_cast<void *>(logoff);
    sendMail_ = reinterpret_cast<void *>(sendMail);
}

std::int32_t SimpleMapi::logon()
{
    load("SignOn");
    LHANDLE handle = 0;
    const ULONG code = reinterpret_cast<LPMAPILOGON>(logon_)(0, nullptr, nullptr, MAPI_NEW_SESSION, 0, &handle);
    if (code != SUCCESS_SUCCESS)
        throw automation::Failure("SignOn", mapiReason("MAPILogon", code), static_cast<long>(code));
    sessions_[++lastSession_] = handle;
    return lastSession_;
}

std::uintptr_t SimpleMapi::handleOf(std::int32_t session, const std::string &member) const
{
    auto found = sessions_.find(session);
    if (found == sessions_.end())
        throw automation::Failure(member, "no open session " + std::to_string(session), MAPI_E_INVALID_SESSION);
    return found->second;
}

void SimpleMapi::logoff(std::int32_t session)
{
    const LHANDLE handle = handleOf(session, "SignOff");
    sessions_.erase(session);
    const ULONG code = reinterpret_cast<LPMAPILOGOFF>(logoff_)(handle, 0, 0, 0);
    if (code != SUCCESS_SUCCESS)
        throw automation::Failure("SignOff", mapiReason("MAPILogoff", code), static_cast<long>(code));
}

void SimpleMapi::send(std::int32_t session, const ComposedMessage &message, bool withDialog)
{
    const LHANDLE handle = handleOf(session, "Send");

    // The structures point into these strings, which outlive the call.
    const std::string subject = ansi(message.subject, "MsgSubject");
    const std::string noteText = ansi(message.noteText, "MsgNoteText");
    std::vector<std::string> names, addresses, paths;
    for (const auto &recipient : message.recipients) {
        names.push_back(ansi(recipient.address, "RecipAddress"));
        addresses.push_back(mapiAddress(names.back()));
    }
    for (const auto &attachment : message.attachments)
        paths.push_back(ansi(attachment.pathName, "AttachmentPathName"));

    std::vector<MapiRecipDesc> recipients(message.recipients.size());
    for (size_t i = 0; i < recipients.size(); ++i) {
        recipients[i].ulRecipClass = static_cast<ULONG>(message.recipients[i].type);
        recipients[i].lpszName = names[i].data();
        recipients[i].lpszAddress = addresses[i].data();
    }
    std::vector<MapiFileDesc> files(message.attachments.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const auto &attachment = message.attachments[i];
        files[i].flFlags = static_cast<ULONG>(attachment.type);
        files[i].nPosition = static_cast<ULONG>(-1);
        if (attachment.position >= 0) {
            // The position counts characters (UTF-16 units, as the controls do);
            // Simple MAPI counts bytes of the ANSI text.
            const std::wstring note = AnsiCodePage::wideFromUtf8(message.noteText);
            if (static_cast<size_t>(attachment.position) >= note.size())
                throw automation::Failure("AttachmentPosition", "position " + std::to_string(attachment.position) + " lies beyond the note text",
                                          MAPI_E_FAILURE);
            const auto before = AnsiCodePage::fromWide(note.substr(0, static_cast<size_t>(attachment.position)));
            if (!before)
                throw automation::Failure("AttachmentPosition", "position splits a character", MAPI_E_FAILURE);
            files[i].nPosition = static_cast<ULONG>(before->size());
        }
        files[i].lpszPathName = paths[i].data();
    }

    MapiMessage mapiMessage{};
    mapiMessage.lpszSubject = const_cast<char *>(subject.c_str());
    mapiMessage.lpszNoteText = const_cast<char *>(noteText.c_str());
    mapiMessage.nRecipCount = static_cast<ULONG>(recipients.size());
    mapiMessage.lpRecips = recipients.empty() ? nullptr : recipients.data();
    mapiMessage.nFileCount = static_cast<ULONG>(files.size());
    mapiMessage.lpFiles = files.empty() ? nullptr : files.data();

    const ULONG code = reinterpret_cast<LPMAPISENDMAIL>(sendMail_)(handle, 0, &mapiMessage, withDialog ? MAPI_DIALOG : 0, 0);
    if (code != SUCCESS_SUCCESS)
        throw automation::Failure("Send", mapiReason("MAPISendMail", code), static_cast<long>(code));
}
