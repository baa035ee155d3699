#pragma once

#include "automation/Object.h"

// Creates COM automation objects from their class names (ProgIDs).
// The factory initialises COM for the thread that constructs it, which must
// be the thread that makes every call: the program's user-interface thread.
class ComFactory : public automation::Factory
{
public:
    ComFactory();
    ~ComFactory() override;
    ComFactory(const ComFactory &) = delete;
    ComFactory &operator=(const ComFactory &) = delete;

    automation::ObjectRef create(const std::string &className) override;

private:
    bool initialised_ = false;
};
