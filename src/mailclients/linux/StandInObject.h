#pragma once

#include "MailDraft.h"
#include "automation/Object.h"

#include <string>

// Base of the stand-in mail client objects: every member raises unless the
// object knows it. Names compare without regard to case, as automation does.
class StandInObject : public automation::Object
{
public:
    explicit StandInObject(std::string className) : className_(std::move(className)) {}

    automation::Variant get(const std::string &name) override { unknown(name); }
    void put(const std::string &name, const automation::Variant &) override { unknown(name); }
    automation::Variant call(const std::string &name, const automation::Arguments &) override { unknown(name); }
    automation::Variant get(int dispId) override { unknown("#" + std::to_string(dispId)); }
    void put(int dispId, const automation::Variant &) override { unknown("#" + std::to_string(dispId)); }
    automation::Variant call(int dispId, const automation::Arguments &) override
    {
        unknown("#" + std::to_string(dispId));
    }

protected:
    [[noreturn]] void unknown(const std::string &member) const
    {
        throw automation::Failure(member, "membre inconnu de " + className_);
    }
    static bool is(const std::string &name, const char *member);
    // The argument at index, raising when the call has too few.
    static const automation::Variant &argument(const automation::Arguments &args, std::size_t index,
                                               const std::string &member);

private:
    std::string className_;
};

// The stand-ins the Linux factory serves; "Send" hands the draft to post.
automation::ObjectRef NewOutlookApplication(PostDraft post);
automation::ObjectRef NewNotesSession(PostDraft post);
automation::ObjectRef NewMapiSession();
automation::ObjectRef NewMapiMessages(PostDraft post);
