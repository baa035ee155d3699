#include "AnsiCodePage.h"
#include "ComFactory.h"
#include "ComObject.h"
#include "WindowsTestSupport.h"

namespace {
using automation::Variant;

// An IDispatch of the test's own that counts its references, which must all be
// given back, and whose every member raises an automation exception.
class RefusingDispatch : public IDispatch
{
public:
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        *object = id == IID_IUnknown || id == IID_IDispatch ? this : nullptr;
        return *object ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *ids) override { return *ids = 1, S_OK; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *info, UINT *) override
    {
        info->scode = static_cast<SCODE>(0x800A0005);
        info->bstrSource = SysAllocString(L"Refusing");
        info->bstrDescription = SysAllocString(L"refused");
        return DISP_E_EXCEPTION;
    }
};
} // namespace

class tst_ComObject : public QObject
{
    Q_OBJECT
private slots:
    void valuesRoundTripThroughADictionary()
    {
        ComFactory factory;
        auto dict = std::dynamic_pointer_cast<ComObject>(factory.create("Scripting.Dictionary"));
        dict->put("CompareMode", std::int32_t(1)); // keys without regard to case
        const std::pair<std::string, Variant> values[] = {
            {"text", std::string("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\xA7")}, {"empty text", std::string()},
            {"int16", std::int16_t(-1454)}, {"int32", std::int32_t(70000)}, {"true", true}, {"false", false},
            {"date", automation::Date{46361.5 + 14.0 / 1440}}, {"empty", automation::Empty{}},
            {"texts", automation::TextArray{"a@b.fr", "", "d\xC3\xA9j\xC3\xA0"}}, {"no texts", automation::TextArray{}},
        };
        const int item = dict->dispIdOf("Item");
        automation::TextArray keys;
        for (const auto &[key, value] : values) {
            dict->call("Add", {key, value});
            QVERIFY2(dict->call(item, {key}) == value, key.c_str());
            keys.push_back(key);
        }
        QVERIFY(dict->call("Keys") == Variant(keys)); // an array of variants
        dict->putIndexed("Item", {std::string("INT32")}, std::string("replaced"));
        QVERIFY(dict->call("Item", {std::string("int32")}) == Variant(std::string("replaced")));
        CHECK_FAILURE(dict->call("Add", {std::string("TEXT"), true}), "Add", 0x800A01C9); // the key exists
        // Texts reach COM in UTF-16, where a character beyond sixteen bits takes a surrogate pair.
        QCOMPARE(AnsiCodePage::wideFromUtf8("\xF0\x9F\x93\xA7"), std::wstring(L"\xD83D\xDCE7"));
    }

    void failuresCarryTheMemberAndTheResultAndObjectsPassBothWays()
    {
        RefusingDispatch refusing;
        {
            ComFactory factory;
            CHECK_FAILURE(factory.create("Notes.NotesSession"), "Notes.NotesSession", 0x800401F3); // not registered under Wine
            auto dict = factory.create("Scripting.Dictionary");
            CHECK_FAILURE(dict->call("NoSuchMethod"), "NoSuchMethod", DISP_E_UNKNOWNNAME);

            refusing.AddRef();
            const automation::ObjectRef object = std::make_shared<ComObject>(com::Ref<IDispatch>(&refusing), "Refusing");
            dict->call("Add", {std::string("k"), object});
            auto back = automation::asObject(dict->call("Item", {std::string("k")}), "Item");
            // Only the refusing object raises this, with its own words.
            CHECK_FAILURE(back->call("Boom", {std::string("argument")}), "Boom", 0x800A0005);
            QVERIFY(std::string(failureOf([&] { back->call("Boom"); }).what()).find("refused") != std::string::npos);
        }
        QCOMPARE(refusing.references, ULONG(1)); // every reference given back
    }
};

QTEST_APPLESS_MAIN(tst_ComObject)
#include "tst_ComObject.moc"
