#pragma once

#include "automation/Object.h"

#include <memory>
#include <string>

// The automation factory of the Windows program: the MAPI controls
// ("MSMAPI.MAPISession", "MSMAPI.MAPIMessages") are our own objects over
// Simple MAPI, every other class is created through COM. Construct it on the
// user-interface thread: it initialises COM there.
std::unique_ptr<automation::Factory> makeWindowsAutomationFactory(const std::wstring &mapiLibrary = L"MAPI32.DLL");
