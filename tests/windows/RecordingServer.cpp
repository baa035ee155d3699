// An in-process automation server that the end-to-end test registers, under a
// class identifier of its own, for "Outlook.application" in its Wine prefix.
// Every member the program reaches is written to calls.log beside the program,
// by name, with the kind of call and each argument's type and value; every
// object's release too.
#include "LogBesideProgram.h"

#include <oleauto.h>

#include <string_view>
#include <vector>

namespace {
std::vector<std::string> memberNames; // a name's DISPID is its index + 1

void record(const std::string &line) { logBesideProgram(L"calls.log", line + "\n"); }

// UTF-8, with line breaks shown as \r and \n so that one call stays one line.
std::string oneLine(std::wstring_view text)
{
    std::string utf8(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), int(utf8.size()), nullptr, nullptr);
    std::string out;
    for (char c : utf8)
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    return out;
}

// Texts and 16-bit integers by value, any other type by its number.
std::string describe(const VARIANT &value)
{
    return value.vt == VT_BSTR ? "str[" + oneLine({value.bstrVal, SysStringLen(value.bstrVal)}) + "]"
           : value.vt == VT_I2 ? "i2[" + std::to_string(value.iVal) + "]" : "vt" + std::to_string(value.vt);
}

class RecordingObject : public IDispatch
{
public:
    explicit RecordingObject(std::string name) : name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        *object = id == IID_IUnknown || id == IID_IDispatch ? this : nullptr;
        return *object ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            record(name_ + " released"), delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override
    {
        for (UINT i = 0; i < count; ++i) {
            memberNames.push_back(oneLine(names[i]));
            ids[i] = static_cast<DISPID>(memberNames.size());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                                     UINT *) override
    {
        if (id < 1 || static_cast<size_t>(id) > memberNames.size())
            return DISP_E_MEMBERNOTFOUND;
        const std::string member = memberNames[id - 1];
        const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        std::string line = name_ + "." + member + (put ? " put" : " call");
        // Arguments arrive last first.
        for (UINT i = params->cArgs; i-- > 0;)
            line += " " + describe(params->rgvarg[i]);
        record(line);
        if (!put && result)
            VariantInit(result);
        // The members whose result the program keeps as an object.
        if (!put && result && (_stricmp(member.c_str(), "createitem") == 0 || _stricmp(member.c_str(), "Attachments") == 0))
            result->vt = VT_DISPATCH, result->pdispVal = new RecordingObject(member);
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
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *, REFIID id, void **object) override
    {
        record("Outlook.application created");
        auto *created = new RecordingObject("Outlook.application");
        const HRESULT result = created->QueryInterface(id, object);
        created->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
} outlookFactory;
} // namespace

// COM asks only for the class it is registered under. Without DllCanUnloadNow, it keeps the DLL loaded.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID interfaceId, void **object)
{
    return outlookFactory.QueryInterface(interfaceId, object);
}
