#pragma once

#include "automation/Object.h"

#include <windows.h>

#include <string>

namespace com {

// "HRESULT 0x80020006 (Unknown name.)", with the system's text when it has one.
std::string describeResult(HRESULT result);

// Raises automation::Failure naming the member and carrying the HRESULT.
[[noreturn]] void fail(const std::string &member, HRESULT result, const std::string &detail = {});

} // namespace com
