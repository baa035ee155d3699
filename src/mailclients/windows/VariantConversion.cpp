#include "VariantConversion.h"

#include "AnsiCodePage.h"
#include "ComFailure.h"
#include "ComObject.h"

#include <memory>
#include <type_traits>

namespace com {

namespace {

// MinGW's declarations lack the const that the Windows SDK has; nothing is written.
VARIANT *source(const VARIANT &value) { return const_cast<VARIANT *>(&value); }

std::string textOf(BSTR text) { return AnsiCodePage::utf8FromWide(std::wstring(text ? text : L"", SysStringLen(text))); }

SAFEARRAY *textArray(const automation::TextArray &texts, const std::string &member)
{
    SafeArray array(SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size())));
    if (!array.get())
        fail(member, E_OUTOFMEMORY, "text array");
    for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
        Bstr element(AnsiCodePage::wideFromUtf8(texts[static_cast<size_t>(i)]));
        // The array takes its own copy of the string.
        if (HRESULT result = SafeArrayPutElement(array.get(), &i, element.get()); FAILED(result))
            fail(member, result, "text array");
    }
    return array.release();
}

automation::TextArray textsOf(SAFEARRAY *array, VARTYPE elementType, const std::string &member)
{
    automation::TextArray texts;
    if (!array)
        return texts;
    if (SafeArrayGetDim(array) != 1)
        fail(member, DISP_E_TYPEMISMATCH, "array of more than one dimension");
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        if (elementType == VT_BSTR) {
            BSTR element = nullptr;
            if (HRESULT result = SafeArrayGetElement(array, &i, &element); FAILED(result))
                fail(member, result, "text array");
            texts.push_back(textOf(element));
            SysFreeString(element);
        } else {
            VariantValue element;
            if (HRESULT result = SafeArrayGetElement(array, &i, element.get()); FAILED(result))
                fail(member, result, "array");
            automation::Variant read = fromVariant(*element.get(), member);
            if (auto text = std::get_if<std::string>(&read))
                texts.push_back(*text);
            else
                fail(member, DISP_E_TYPEMISMATCH, "array holding other values than texts");
        }
    }
    return texts;
}

} // namespace

VariantValue toVariant(const automation::Variant &value, const std::string &member)
{
    VariantValue result;
    VARIANT &v = *result.get();
    std::visit(
        [&](const auto &held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, automation::Empty>) {
                v.vt = VT_EMPTY;
            } else if constexpr (std::is_same_v<T, bool>) {
                v.vt = VT_BOOL;
                v.boolVal = held ? VARIANT_TRUE : VARIANT_FALSE;
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                v.vt = VT_I2;
                v.iVal = held;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                v.vt = VT_I4;
                v.lVal = held;
            } else if constexpr (std::is_same_v<T, std::string>) {
                Bstr text(AnsiCodePage::wideFromUtf8(held));
                if (!text.get())
                    fail(member, E_OUTOFMEMORY, "text");
                v.vt = VT_BSTR;
                v.bstrVal = text.release();
            } else if constexpr (std::is_same_v<T, automation::TextArray>) {
                v.parray = textArray(held, member);
                v.vt = VT_ARRAY | VT_BSTR;
            } else if constexpr (std::is_same_v<T, automation::Date>) {
                v.vt = VT_DATE;
                v.date = held.days;
            } else if constexpr (std::is_same_v<T, automation::ObjectRef>) {
                if (!held) {
                    v.vt = VT_DISPATCH;
                    v.pdispVal = nullptr;
                    return;
                }
                auto object = std::dynamic_pointer_cast<ComObject>(held);
                if (!object)
                    fail(member, DISP_E_TYPEMISMATCH, "object that is not a COM object");
                v.vt = VT_DISPATCH;
                v.pdispVal = object->dispatch();
                v.pdispVal->AddRef();
            }
        },
        value);
    return result;
}

automation::Variant fromVariant(const VARIANT &value, const std::string &member)
{
    if (value.vt & VT_BYREF) {
        VariantValue direct;
        if (HRESULT result = VariantCopyInd(direct.get(), source(value)); FAILED(result))
            fail(member, result, "by-reference result");
        return fromVariant(*direct.get(), member);
    }
    if (value.vt & VT_ARRAY) {
        const VARTYPE element = value.vt & VT_TYPEMASK;
        if (element != VT_BSTR && element != VT_VARIANT)
            fail(member, DISP_E_TYPEMISMATCH, "array of non-texts");
        return textsOf(value.parray, element, member);
    }
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return automation::Empty{};
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE;
    case VT_I2:
        return static_cast<std::int16_t>(value.iVal);
    case VT_I4:
        return static_cast<std::int32_t>(value.lVal);
    case VT_BSTR:
        return textOf(value.bstrVal);
    case VT_DATE:
        return automation::Date{value.date};
    case VT_DISPATCH:
        if (!value.pdispVal)
            return automation::Empty{};
        value.pdispVal->AddRef();
        return std::make_shared<ComObject>(Ref<IDispatch>(value.pdispVal), member);
    case VT_UNKNOWN: {
        Ref<IDispatch> dispatch;
        if (!value.punkVal)
            return automation::Empty{};
        if (HRESULT result = value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(dispatch.put())); FAILED(result))
            fail(member, result, "object without IDispatch");
        return std::make_shared<ComObject>(std::move(dispatch), member);
    }
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_INT:
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8: {
        VariantValue number;
        if (SUCCEEDED(VariantChangeType(number.get(), source(value), 0, VT_I4)))
            return static_cast<std::int32_t>(number.get()->lVal);
        [[fallthrough]];
    }
    default: {
        VariantValue text;
        if (HRESULT result = VariantChangeType(text.get(), source(value), 0, VT_BSTR); FAILED(result))
            fail(member, result, "result of variant type " + std::to_string(value.vt));
        return textOf(text.get()->bstrVal);
    }
    }
}

} // namespace com
