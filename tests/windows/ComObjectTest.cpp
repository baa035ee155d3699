#include "ComFactory.h"
#include "ComObject.h"
#include "TestHarness.h"

#include <vector>

namespace {

std::shared_ptr<ComObject> dictionary(ComFactory &factory)
{
    return std::dynamic_pointer_cast<ComObject>(factory.create("Scripting.Dictionary"));
}

// An IDispatch of the test's own: records how it was invoked and counts its
// references, which must all be given back. Members: 1 Echo (returns its first
// argument), 2 Boom (raises an automation exception), 3 Self (returns itself).
class RecordingDispatch : public IDispatch
{
public:
    ULONG references = 1;
    WORD flags = 0;
    std::vector<VARTYPE> argumentTypes; // as received, last argument first
    std::vector<DISPID> namedArguments;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (id == IID_IUnknown || id == IID_IDispatch) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT, LCID, DISPID *ids) override
    {
        const std::wstring name = names[0];
        *ids = name == L"Echo" ? 1 : name == L"Boom" ? 2 : name == L"Self" ? 3 : DISPID_UNKNOWN;
        return *ids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD how, DISPPARAMS *params, VARIANT *result, EXCEPINFO *info, UINT *) override
    {
        flags = how;
        argumentTypes.clear();
        for (UINT i = 0; i < params->cArgs; ++i)
            argumentTypes.push_back(params->rgvarg[i].vt);
        namedArguments.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
        switch (id) {
        case 1:
            return params->cArgs ? VariantCopy(result, &params->rgvarg[params->cArgs - 1]) : S_OK;
        case 2:
            info->scode = static_cast<SCODE>(0x800A0005);
            info->bstrSource = SysAllocString(L"Recorder");
            info->bstrDescription = SysAllocString(L"refused");
            return DISP_E_EXCEPTION;
        case 3:
            AddRef();
            result->vt = VT_DISPATCH;
            result->pdispVal = this;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace

TEST(valuesRoundTripThroughADictionary)
{
    ComFactory factory;
    auto dict = dictionary(factory);
    CHECK(dict != nullptr);
    if (!dict)
        return;
    const std::vector<std::pair<std::string, automation::Variant>> values = {
        {"text", std::string("Caf\xC3\xA9 \xE2\x82\xAC")},
        {"empty text", std::string()},
        {"int16", std::int16_t(-1454)},
        {"int32", std::int32_t(70000)},
        {"true", true},
        {"false", false},
        {"date", automation::Date{46361.5 + 14.0 / 1440}},
        {"texts", automation::TextArray{"a@b.fr", "", "d\xC3\xA9j\xC3\xA0"}},
        {"no texts", automation::TextArray{}},
        {"empty", automation::Empty{}},
    };
    for (const auto &[key, value] : values) {
        harness::caseLabel() = key;
        dict->call("Add", {key, value});
        const automation::Variant back = dict->call("Item", {key});
        CHECK_EQ(automation::kindOf(back), automation::kindOf(value));
        CHECK(back == value);
    }
    harness::caseLabel().clear();
    CHECK_EQ(automation::asInt(dict->get("Count"), "Count"), std::int32_t(values.size()));
    CHECK(dict->call("Keys") == automation::Variant(automation::TextArray{"text", "empty text", "int16", "int32", "true", "false",
                                                                              "date", "texts", "no texts", "empty"}));

    dict->putIndexed("Item", {std::string("int32")}, std::string("replaced"));
    CHECK(dict->call("Item", {std::string("int32")}) == automation::Variant(std::string("replaced")));
    CHECK_EQ(automation::asInt(dict->get("Count"), "Count"), std::int32_t(values.size()));
}

TEST(objectsPassBothWays)
{
    ComFactory factory;
    auto outer = dictionary(factory);
    auto inner = dictionary(factory);
    inner->call("Add", {std::string("k"), std::int32_t(1)});
    outer->call("Add", {std::string("inner"), automation::ObjectRef(inner)});
    auto back = automation::asObject(outer->call("Item", {std::string("inner")}), "Item");
    back->call("Add", {std::string("k2"), std::int32_t(2)});
    // The same COM object: what was added through one reference shows in the other.
    CHECK_EQ(automation::asInt(inner->get("Count"), "Count"), 2);
}

TEST(failuresCarryTheMemberAndTheResult)
{
    ComFactory factory;
    struct Case
    {
        const char *className;
        long code;
    };
    for (const Case &c : {Case{"Outlook.application", long(0x800401F3)}, Case{"Notes.NotesSession", long(0x800401F3)}}) {
        harness::caseLabel() = c.className;
        CHECK_FAILURE(factory.create(c.className), unregistered);
        CHECK(unregistered && unregistered->member() == c.className && unregistered->code() == c.code);
    }
    harness::caseLabel().clear();

    auto dict = dictionary(factory);
    CHECK_FAILURE(dict->call("NoSuchMethod"), unknown);
    CHECK(unknown && unknown->member() == "NoSuchMethod" && unknown->code() == long(DISP_E_UNKNOWNNAME));
    dict->call("Add", {std::string("k"), std::int32_t(1)});
    CHECK_FAILURE(dict->call("Add", {std::string("k"), std::int32_t(2)}), duplicate);
    CHECK(duplicate && duplicate->member() == "Add" && FAILED(duplicate->code()));
}

TEST(invocationsFollowTheDispatchRulesAndReleaseEverything)
{
    static RecordingDispatch recorder;
    recorder.references = 1;
    {
        recorder.AddRef();
        ComObject object(com::Ref<IDispatch>(&recorder), "Recorder");

        const automation::Variant echoed = object.call("Echo", {std::int16_t(1), std::string("two"), automation::Date{3.0}});
        CHECK(echoed == automation::Variant(std::int16_t(1)));
        CHECK(recorder.argumentTypes == (std::vector<VARTYPE>{VT_DATE, VT_BSTR, VT_I2}));
        CHECK(recorder.namedArguments.empty());
        CHECK_EQ(recorder.flags, WORD(DISPATCH_METHOD | DISPATCH_PROPERTYGET));

        object.put(1, automation::TextArray{"a", "b"});
        CHECK_EQ(recorder.flags, WORD(DISPATCH_PROPERTYPUT));
        CHECK(recorder.argumentTypes == (std::vector<VARTYPE>{VT_ARRAY | VT_BSTR}));
        CHECK(recorder.namedArguments == (std::vector<DISPID>{DISPID_PROPERTYPUT}));

        CHECK_FAILURE(object.call("Boom", {std::string("argument")}), refused);
        CHECK(refused && refused->member() == "Boom" && refused->code() == long(0x800A0005));
        CHECK(refused && std::string(refused->what()).find("refused") != std::string::npos);

        auto self = automation::asObject(object.call("Self"), "Self");
        auto again = automation::asObject(object.call(1, {self}), "Echo");
        CHECK(recorder.argumentTypes == (std::vector<VARTYPE>{VT_DISPATCH}));
        CHECK(recorder.references > 1);
    }
    CHECK_EQ(recorder.references, ULONG(1));
}
