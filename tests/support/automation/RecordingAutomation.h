#pragma once

#include "automation/Object.h"

#include <map>
#include <string>
#include <vector>

// An automation factory for tests: serves objects that answer from a script and
// records every call as "object kind member args", e.g. "item put Subject text:Hi"
// or "MSMAPI.MAPIMessages put #29 int32:0". Plain C++.
class RecordingFactory : public automation::Factory
{
public:
    std::vector<std::string> calls;
    int failAt = -1;  // the call with this index (0-based, creations included) raises
    int created = 0, released = 0;
    int live() const { return created - released; }

    // Scripts the three mail clients as they answer on success (done from the start).
    // Unscripted reads return the last value written, unscripted methods the empty value.
    RecordingFactory() { scriptMailClients(); }
    void scriptMailClients(const std::string &notesUser = "Jean Dupont", bool notesDatabaseOpen = false);
    automation::ObjectRef create(const std::string &className) override;
    automation::Variant record(const std::string &object, const char *kind, const std::string &member,
                               const automation::Arguments &args = {});

private:
    std::map<std::string, automation::Variant> values_;  // by "object member"
    std::map<std::string, std::string> objects_;         // member returns a new object of that name
};
