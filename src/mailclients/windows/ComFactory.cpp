#include "ComFactory.h"

#include "AnsiCodePage.h"
#include "ComFailure.h"
#include "ComObject.h"

ComFactory::ComFactory()
{
    // S_FALSE (already initialised, e.g. by Qt's OLE set-up) must be balanced
    // too; a thread already in the multithreaded apartment is used as it is.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    initialised_ = SUCCEEDED(result);
}

ComFactory::~ComFactory()
{
    if (initialised_)
        CoUninitialize();
}

automation::ObjectRef ComFactory::create(const std::string &className)
{
    const std::wstring progId = AnsiCodePage::wideFromUtf8(className);
    CLSID classId{};
    if (HRESULT result = CLSIDFromProgID(progId.c_str(), &classId); FAILED(result))
        com::fail(className, result, "class not registered");
    com::Ref<IDispatch> dispatch;
    // Outlook and Notes run as local servers, others load in process.
    const HRESULT result = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                            reinterpret_cast<void **>(dispatch.put()));
    if (FAILED(result))
        com::fail(className, result, "cannot create object");
    return std::make_shared<ComObject>(std::move(dispatch), className);
}
