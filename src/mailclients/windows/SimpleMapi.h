#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One message as the MAPI controls compose it. Texts are UTF-8.
struct ComposedMessage
{
    struct Recipient
    {
        std::int16_t type = 1; // 1 To, 2 CC, 3 BCC
        std::string address;
    };
    struct Attachment
    {
        std::int32_t position = -1; // in UTF-16 units of noteText; -1: not in the text
        std::string pathName;
        std::int16_t type = 0; // 0 data file, 1 embedded OLE, 2 static OLE
    };

    std::string subject;
    std::string noteText;
    std::vector<Recipient> recipients;
    std::vector<Attachment> attachments;
};

// Simple MAPI as exported by MAPI32.DLL, loaded at the first use so that the
// program starts on machines without a mail client. Sessions are known by small
// numbers because the controls pass them as 32-bit integers, while a session
// handle is pointer-sized. Every failure raises automation::Failure.
class SimpleMapi
{
public:
    // libraryName is the DLL to load; tests give a substitute.
    explicit SimpleMapi(std::wstring libraryName = L"MAPI32.DLL");
    ~SimpleMapi();
    SimpleMapi(const SimpleMapi &) = delete;
    SimpleMapi &operator=(const SimpleMapi &) = delete;

    // MAPILogon with a new session and no user interface; gives the session number.
    std::int32_t logon();
    void logoff(std::int32_t session);
    // MAPISendMail; withDialog lets the mail client show the message first.
    void send(std::int32_t session, const ComposedMessage &message, bool withDialog);

private:
    void load(const std::string &member);
    std::uintptr_t handleOf(std::int32_t session, const std::string &member) const;

    std::wstring libraryName_;
    void *module_ = nullptr;
    void *logon_ = nullptr;
    void *logoff_ = nullptr;
    void *sendMail_ = nullptr;
    std::map<std::int32_t, std::uintptr_t> sessions_;
    std::int32_t lastSession_ = 0;
};
