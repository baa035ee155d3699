#pragma once

#include <string>

// Who the Linux mail goes out as, and through which sendmail command. All
// fields UTF-8; an empty command means the system's sendmail.
struct SenderIdentity
{
    std::string name;
    std::string address;
    std::string command;
};

// The identity the stand-ins send with: one per run, set at start and by the
// sender settings window.
const SenderIdentity &CurrentSender();
void SetCurrentSender(const SenderIdentity &sender);

// What follows the last "@" of the address; empty when there is none.
std::string SenderDomain(const SenderIdentity &sender);

// Tells the user once per run, without blocking, that no sender address is set
// and how to set one. Does nothing once an address is set.
void RemindMissingSenderOnce();
