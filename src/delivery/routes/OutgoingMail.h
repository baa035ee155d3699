#pragma once

#include <string>

// What a delivery route reads of a pending mail. Texts are UTF-8; recipient
// lists are ";"-separated as the editor stored them; the body's lines are
// separated by CR LF; attachment is empty for none.
struct OutgoingMail
{
    std::string subject;
    std::string to;
    std::string cc;
    std::string bcc;
    std::string body;
    std::string attachment;
};
