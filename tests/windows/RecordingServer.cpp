// An in-process automation server registered for "Outlook.application" in the
// end-to-end test's Wine prefix. Every member the program reaches is written to
// calls.log beside the program, by name, with the kind of call and each
// argument's type and value; every object's release too.
#include "LogBesideProgram.h"

#include <oleauto.h>

#include <atomic>
#include <vector>

namespace {
// {6A1F3C52-9E0B-4C1D-8F27-3B5E1D7A0C11}
const CLSID OutlookClass = {0x6a1f3c52, 0x9e0b, 0x4c1d, {0x8f, 0x27, 0x3b, 0x5e, 0x1d, 0x7a, 0x0c, 0x11}};
std::atomic<long> liveObjects{0};
std::vector<std::wstring> memberNames; // a name's DISPID is its index + 1

std::string utf8(const wchar_t *text, int length)
{
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), int(out.size()), nullptr, nullptr);
    return out;
}

void record(const std::string &line) { logBesideProgram(L"calls.log", line + "\n"); }

// Line breaks inside texts are shown as \r and \n, so one call stays one line.
std::string oneLine(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    return out;
}

std::string describe(const VARIANT &value)
{
    switch (value.vt) {
    case VT_EMPTY: return "empty";
    case VT_BSTR: return "str[" + oneLine(utf8(value.bstrVal, SysStringLen(value.bstrVal))) + "]";
    case VT_I2: return "i2[" + std::to_string(value.iVal) + "]";
    case VT_I4: return "i4[" + std::to_string(value.lVal) + "]";
    default: return "vt" + std::to_string(value.vt);
    }
}

// The members whose result the program keeps as an object.
bool yieldsObject(const std::wstring &member)
{
    return _wcsicmp(member.c_str(), L"createitem") == 0 || _wcsicmp(member.c_str(), L"Attachments") == 0;
}

class RecordingObject : public IDispatch
{
public:
    explicit RecordingObject(std::string name) : name_(std::move(name)) { ++liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        *object = id == IID_IUnknown || id == IID_IDispatch ? this : nullptr;
        return *object ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0) {
            record(name_ + " released");
            --liveObjects;
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override
    {
        for (UINT i = 0; i < count; ++i) {
            memberNames.emplace_back(names[i]);
            ids[i] = static_cast<DISPID>(memberNames.size());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                                     UINT *) override
    {
        if (id < 1 || static_cast<size_t>(id) > memberNames.size())
            return DISP_E_MEMBERNOTFOUND;
        const std::wstring member = memberNames[id - 1];
        const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        std::string line = name_ + "." + utf8(member.c_str(), int(member.size())) + (put ? " put" : " call");
        // Arguments arrive last first.
        for (UINT i = params->cArgs; i-- > 0;)
            line += " " + describe(params->rgvarg[i]);
        record(line);
        if (put || !result)
            return S_OK;
        VariantInit(result);
        if (yieldsObject(member)) {
            result->vt = VT_DISPATCH;
            result->pdispVal = new RecordingObject(utf8(member.c_str(), int(member.size())));
        }
        return S_OK;
    }

private:
    std::string name_;
    ULONG references_ = 1;
};

class ClassFactory : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        *object = id == IID_IUnknown || id == IID_IClassFactory ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID id, void **object) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        record("Outlook.application created");
        auto *created = new RecordingObject("Outlook.application");
        const HRESULT result = created->QueryInterface(id, object);
        created->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
} outlookFactory;
} // namespace

extern "C" {
__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID id, REFIID interfaceId, void **object)
{
    if (IsEqualCLSID(id, OutlookClass))
        return outlookFactory.QueryInterface(interfaceId, object);
    *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return liveObjects == 0 ? S_OK : S_FALSE; }
}
