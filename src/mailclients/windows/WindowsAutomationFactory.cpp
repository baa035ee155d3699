#include "WindowsAutomationFactory.h"

#include "ComFactory.h"
#include "MapiMessagesControl.h"
#include "MapiSessionControl.h"
#include "SimpleMapi.h"

#include <windows.h>

namespace {

bool sameClass(const std::string &a, const char *b) { return lstrcmpiA(a.c_str(), b) == 0; }

class WindowsAutomationFactory : public automation::Factory
{
public:
    explicit WindowsAutomationFactory(const std::wstring &mapiLibrary) : mapi_(std::make_shared<SimpleMapi>(mapiLibrary)) {}

    automation::ObjectRef create(const std::string &className) override
    {
        if (sameClass(className, "MSMAPI.MAPISession"))
            return std::make_shared<MapiSessionControl>(mapi_);
        if (sameClass(className, "MSMAPI.MAPIMessages"))
            return std::make_shared<MapiMessagesControl>(mapi_);
        return com_.create(className);
    }

private:
    ComFactory com_;
    std::shared_ptr<SimpleMapi> mapi_;
};

} // namespace

std::unique_ptr<automation::Factory> makeWindowsAutomationFactory(const std::wstring &mapiLibrary)
{
    return std::make_unique<WindowsAutomationFactory>(mapiLibrary);
}
