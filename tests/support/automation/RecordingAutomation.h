#pragma once

#include "automation/Object.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// An automation factory for tests: serves objects that answer from a script,
// records every call with its argument types, fails at a chosen step and
// counts the references it handed out and got back. Plain C++.
class RecordingFactory : public automation::Factory
{
public:
    // One call, shown as "object kind member args", e.g.
    // "item put Subject text:Hi" or "MSMAPI.MAPIMessages put #29 int32:0".
    std::vector<std::string> calls;

    // The call with this index (0-based, creations included) raises; -1 for none.
    int failAt = -1;
    int created = 0;
    int released = 0;
    int live() const { return created - released; }

    // What a read or method of an object returns; unscripted reads return the
    // last value written, unscripted methods the empty value.
    void answer(const std::string &object, const std::string &member, automation::Variant value);
    // The member returns a new object known by the given name.
    void answerObject(const std::string &object, const std::string &member, const std::string &name);
    // Scripts the three mail clients as they answer on success.
    void scriptMailClients(const std::string &notesUser = "Jean Dupont", bool notesDatabaseOpen = false);

    automation::ObjectRef create(const std::string &className) override;

    // Recorded by the objects.
    automation::Variant record(const std::string &object, const char *kind, const std::string &member,
                               const automation::Arguments &args);
    automation::ObjectRef makeObject(const std::string &name);

private:
    std::map<std::string, std::function<automation::Variant()>> answers_;
};

std::string describe(const automation::Variant &value);
