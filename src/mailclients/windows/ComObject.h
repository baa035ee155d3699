#pragma once

#include "ComHandles.h"
#include "automation/Object.h"

#include <string>

// An automation object reached through late-bound IDispatch. Members named by
// text are looked up with GetIDsOfNames before each Invoke.
class ComObject : public automation::Object
{
public:
    // label names the object in failures, e.g. its class name.
    ComObject(com::Ref<IDispatch> dispatch, std::string label);

    automation::Variant get(const std::string &name) override;
    void put(const std::string &name, const automation::Variant &value) override;
    automation::Variant call(const std::string &name, const automation::Arguments &args = {}) override;

    automation::Variant get(int dispId) override;
    void put(int dispId, const automation::Variant &value) override;
    automation::Variant call(int dispId, const automation::Arguments &args = {}) override;

    // A property that takes arguments, such as a collection's "Item"(key).
    void putIndexed(const std::string &name, const automation::Arguments &index, const automation::Variant &value);

    IDispatch *dispatch() const { return dispatch_.get(); }

    DISPID dispIdOf(const std::string &name) const;

private:
    automation::Variant invoke(DISPID dispId, const std::string &member, WORD flags, const automation::Arguments &args);

    com::Ref<IDispatch> dispatch_;
    std::string label_;
};
