#include "ComObject.h"

#include "AnsiCodePage.h"
#include "ComFailure.h"
#include "VariantConversion.h"


namespace {

std::string memberLabel(int dispId) { return "#" + std::to_string(dispId); }

// Takes the texts out of an EXCEPINFO and frees them.
std::string takeDescription(EXCEPINFO &info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    std::string description;
    if (info.bstrDescription)
        description = AnsiCodePage::utf8FromWide(std::wstring(info.bstrDescription, SysStringLen(info.bstrDescription)));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    return description;
}

} // namespace

ComObject::ComObject(com::Ref<IDispatch> dispatch, std::string label)
    : dispatch_(std::move(dispatch)), label_(std::move(label))
{
}

DISPID ComObject::dispIdOf(const std::string &name) const
{
    std::wstring wide = AnsiCodePage::wideFromUtf8(name);
    LPOLESTR names[] = {wide.data()};
    DISPID dispId = DISPID_UNKNOWN;
    if (HRESULT result = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispId); FAILED(result))
        com::fail(name, result, "no such member");
    return dispId;
}

automation::Variant ComObject::invoke(DISPID dispId, const std::string &member, WORD flags, const automation::Arguments &args)
{
    // IDispatch takes the arguments last first.
    com::VariantArray values;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        values.push_back(com::toVariant(*it, member));

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = values.size();
    params.rgvarg = values.data();
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &putId;
    }

    com::VariantValue result;
    EXCEPINFO info{};
    UINT argumentError = 0;
    const HRESULT outcome = dispatch_->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.get(), &info, &argumentError);
    if (outcome == DISP_E_EXCEPTION) {
        const std::string description = takeDescription(info);
        const HRESULT code = info.scode != 0 ? info.scode : outcome;
        com::fail(member, code, description.empty() ? label_ : label_ + ": " + description);
    }
    if (outcome == DISP_E_TYPEMISMATCH || outcome == DISP_E_PARAMNOTFOUND) {
        // argumentError counts from the last argument.
        const size_t position = args.size() - argumentError;
        com::fail(member, outcome, label_ + ", argument " + std::to_string(position));
    }
    if (FAILED(outcome))
        com::fail(member, outcome, label_);
    return com::fromVariant(*result.get(), member);
}

automation::Variant ComObject::get(const std::string &name)
{
    return invoke(dispIdOf(name), name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
}

void ComObject::put(const std::string &name, const automation::Variant &value)
{
    invoke(dispIdOf(name), name, DISPATCH_PROPERTYPUT, {value});
}

void ComObject::putIndexed(const std::string &name, const automation::Arguments &index, const automation::Variant &value)
{
    automation::Arguments args = index;
    args.push_back(value);
    invoke(dispIdOf(name), name, DISPATCH_PROPERTYPUT, args);
}

automation::Variant ComObject::call(const std::string &name, const automation::Arguments &args)
{
    return invoke(dispIdOf(name), name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

automation::Variant ComObject::get(int dispId)
{
    return invoke(dispId, memberLabel(dispId), DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
}

void ComObject::put(int dispId, const automation::Variant &value)
{
    invoke(dispId, memberLabel(dispId), DISPATCH_PROPERTYPUT, {value});
}

automation::Variant ComObject::call(int dispId, const automation::Arguments &args)
{
    return invoke(dispId, memberLabel(dispId), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}
