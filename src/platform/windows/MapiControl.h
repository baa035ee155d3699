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

    automation::Variant get(const std::string &name) override { return get(dispIdOf(name)); }
    void put(const std::string &name, const automation::Variant &value) override { put(dispIdOf(name), value); }
    automation::Variant call(const std::string &name, const automation::Arguments &args = {}) override
    {
        return call(dispIdOf(name), args);
    }
    using automation::Object::call;
    using automation::Object::get;
    using automation::Object::put;

protected:
    MapiControl(std::string className, std::vector<Member> members);

    int dispIdOf(const std::string &name) const;
    std::string nameOf(int dispId) const;
    [[noreturn]] void unknownMember(int dispId, const char *use) const;

private:
    std::string className_;
    std::vector<Member> members_;
};
