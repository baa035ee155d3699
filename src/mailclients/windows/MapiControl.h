#pragma once

#include "automation/Object.h"

#include <string>
#include <vector>

// What the two MAPI controls share: members reachable by name or by dispatch
// identifier, names compared without regard to case as automation does.
class MapiControl : public automation::Object
{
public:
    struct Member
    {
        const char *name;
        int dispId;
    };

    automation::Variant get(const std::string &name) override { return getMember(dispIdOf(name)); }
    void put(const std::string &name, const automation::Variant &value) override { putMember(dispIdOf(name), value); }
    automation::Variant call(const std::string &name, const automation::Arguments &args = {}) override
    {
        return callMember(dispIdOf(name), args);
    }
    automation::Variant get(int dispId) final { return getMember(dispId); }
    void put(int dispId, const automation::Variant &value) final { putMember(dispId, value); }
    automation::Variant call(int dispId, const automation::Arguments &args = {}) final { return callMember(dispId, args); }

protected:
    MapiControl(std::string className, std::vector<Member> members);

    // Each control answers its own members, by dispatch identifier.
    virtual automation::Variant getMember(int dispId) = 0;
    virtual void putMember(int dispId, const automation::Variant &value) = 0;
    virtual automation::Variant callMember(int dispId, const automation::Arguments &args) = 0;

    int dispIdOf(const std::string &name) const;
    std::string nameOf(int dispId) const;
    [[noreturn]] void unknownMember(int dispId, const char *use) const;

private:
    std::string className_;
    std::vector<Member> members_;
};
