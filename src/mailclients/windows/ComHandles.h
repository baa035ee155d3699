#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

// Owners of the COM resources that a late-bound call touches, so that every
// path out of a call, exceptions included, gives them back.
namespace com {

// One counted reference to a COM interface.
template <typename T>
class Ref
{
public:
    Ref() = default;
    // Takes over a reference the caller already counted.
    explicit Ref(T *pointer) : pointer_(pointer) {}
    Ref(const Ref &other) : pointer_(other.pointer_)
    {
        if (pointer_)
            pointer_->AddRef();
    }
    Ref(Ref &&other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    Ref &operator=(Ref other) noexcept
    {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~Ref()
    {
        if (pointer_)
            pointer_->Release();
    }

    T *get() const { return pointer_; }
    T *operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For out parameters: drops what is held first.
    T **put()
    {
        *this = Ref();
        return &pointer_;
    }

private:
    T *pointer_ = nullptr;
};

// A BSTR that is freed with SysFreeString.
class Bstr
{
public:
    Bstr() = default;
    explicit Bstr(const std::wstring &text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;
    ~Bstr() { SysFreeString(value_); }

    BSTR get() const { return value_; }
    // Hands the string to a VARIANT or another owner.
    BSTR release() { return std::exchange(value_, nullptr); }

private:
    BSTR value_ = nullptr;
};

// A SAFEARRAY freed with SafeArrayDestroy, which also frees its BSTRs.
class SafeArray
{
public:
    explicit SafeArray(SAFEARRAY *array = nullptr) : array_(array) {}
    SafeArray(const SafeArray &) = delete;
    SafeArray &operator=(const SafeArray &) = delete;
    ~SafeArray()
    {
        if (array_)
            SafeArrayDestroy(array_);
    }

    SAFEARRAY *get() const { return array_; }
    SAFEARRAY *release() { return std::exchange(array_, nullptr); }

private:
    SAFEARRAY *array_;
};

// A VARIANT cleared with VariantClear, which releases what it holds.
class VariantValue
{
public:
    VariantValue() { VariantInit(&value_); }
    VariantValue(const VariantValue &) = delete;
    VariantValue &operator=(const VariantValue &) = delete;
    VariantValue(VariantValue &&other) noexcept
    {
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    ~VariantValue() { VariantClear(&value_); }

    VARIANT *get() { return &value_; }
    const VARIANT *get() const { return &value_; }
    // Hands the value to another owner.
    VARIANT release()
    {
        VARIANT value = value_;
        VariantInit(&value_);
        return value;
    }

private:
    VARIANT value_;
};

// The arguments of one Invoke: contiguous, as DISPPARAMS wants them, and
// cleared at the end even if the callee converted one in place.
class VariantArray
{
public:
    VariantArray() = default;
    VariantArray(const VariantArray &) = delete;
    VariantArray &operator=(const VariantArray &) = delete;
    ~VariantArray()
    {
        for (VARIANT &value : values_)
            VariantClear(&value);
    }

    void push_back(VariantValue value) { values_.push_back(value.release()); }
    VARIANT *data() { return values_.empty() ? nullptr : values_.data(); }
    UINT size() const { return static_cast<UINT>(values_.size()); }

private:
    std::vector<VARIANT> values_;
};

} // namespace com
