#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The mail clients a due mail can be handed to: one enumerator and one entry
// each, in the same order. Plain C++, so that every room can read it.
//
// A new client takes its enumerator, its entry below, its route in
// src/delivery/routes with its case in Scheduler::handOver (the build stops
// while the case is missing), and on Linux a stand-in for each automation
// class it names (the main window's test walks every entry through the
// option button, the settings file, the route and the Linux factory).
enum class MailClient { Outlook, Notes, Express };

struct MailClientEntry
{
    MailClient client;
    const char *settingsWord;  // "Client=<word>" in the settings file
    const char *noticeName;    // how a failure notice names it (UTF-8)
    // The main window's option button: its control name and caption, and its
    // place in twips inside the choice's frame.
    struct Option
    {
        const char *name;
        const char *caption;
        int left, top, width, height;
    } option;
    // The automation classes its route creates; unused places stay empty.
    std::array<const char *, 2> classNames;
};

inline constexpr std::array mailClients{
    MailClientEntry{.client = MailClient::Outlook,
                    .settingsWord = "Outlook",
                    .noticeName = "Microsoft Outlook",
                    .option = {"optOutlook", "Microsoft Outlook", 120, 30, 2685, 285},
                    .classNames = {"Outlook.application"}},
    MailClientEntry{.client = MailClient::Notes,
                    .settingsWord = "Notes",
                    .noticeName = "Lotus Notes",
                    .option = {"optNotes", "Lotus Notes", 120, 275, 2685, 285},
                    .classNames = {"Notes.NotesSession"}},
    MailClientEntry{.client = MailClient::Express,
                    .settingsWord = "Express",
                    .noticeName = "votre client de messagerie",
                    .option = {"optExpress", "Outlook Express - Thunderbird - Windows Mail", 120, 520, 3735, 285},
                    .classNames = {"MSMAPI.MAPISession", "MSMAPI.MAPIMessages"}},
};

constexpr const MailClientEntry &entryOf(MailClient client)
{
    return mailClients.at(std::size_t(client));
}

namespace mail_clients_check {
constexpr bool filled(const char *text) { return text && *text; }

// Each entry at its enumerator's place, every text given, and no settings word
// or control name taken twice.
constexpr bool wellFormed()
{
    for (std::size_t i = 0; i < mailClients.size(); ++i) {
        const MailClientEntry &entry = mailClients[i];
        if (std::size_t(entry.client) != i || !filled(entry.settingsWord) || !filled(entry.noticeName)
            || !filled(entry.option.name) || !filled(entry.option.caption) || !filled(entry.classNames[0])
            || entry.option.width <= 0 || entry.option.height <= 0)
            return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (std::string_view(mailClients[j].settingsWord) == entry.settingsWord
                || std::string_view(mailClients[j].option.name) == entry.option.name)
                return false;
        }
    }
    return true;
}
} // namespace mail_clients_check

static_assert(mail_clients_check::wellFormed(), "a mail client's entry is out of place, incomplete or repeats another's");
