#pragma once

#include "Variant.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace automation {

// Every failure of a late-bound call: the caller sees it raised.
class Failure : public std::runtime_error
{
public:
    Failure(const std::string &member, const std::string &reason, long code = 0)
        : std::runtime_error(member + ": " + reason), member_(member), code_(code)
    {
    }
    const std::string &member() const { return member_; }
    long code() const { return code_; }

private:
    std::string member_;
    long code_;
};

using Arguments = std::vector<Variant>;

// A late-bound automation object. Members are reached by name or by dispatch
// identifier; the reference is released when the last ObjectRef goes.
class Object
{
public:
    virtual ~Object() = default;

    virtual Variant get(const std::string &name) = 0;
    virtual void put(const std::string &name, const Variant &value) = 0;
    virtual Variant call(const std::string &name, const Arguments &args = {}) = 0;

    virtual Variant get(int dispId) = 0;
    virtual void put(int dispId, const Variant &value) = 0;
    virtual Variant call(int dispId, const Arguments &args = {}) = 0;
};

// Creates objects from a class name such as "Outlook.application".
class Factory
{
public:
    virtual ~Factory() = default;
    virtual ObjectRef create(const std::string &className) = 0;
};

// Readers that raise when the value is not of the expected kind.
ObjectRef asObject(const Variant &value, const std::string &member);
std::string asText(const Variant &value, const std::string &member);
bool asBool(const Variant &value, const std::string &member);
std::int32_t asInt(const Variant &value, const std::string &member);

} // namespace automation
