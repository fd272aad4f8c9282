#pragma once

// Owners of the OLE automation values that COM calls take: a BSTR and a VARIANT, freed on
// scope exit. Neither copies nor moves, so each is freed exactly once.

#include <oleauto.h>
#include <windows.h>

#include <string_view>

namespace gui {

class Bstr {
public:
    // A BSTR of exactly these characters, embedded zeros included; empty text gives an
    // empty (not null) BSTR.
    explicit Bstr(std::wstring_view text) : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }

    BSTR get() const { return value_; }

private:
    BSTR value_;
};

class Variant {
public:
    struct NullBstr {};

    Variant() { VariantInit(&value_); }
    explicit Variant(LONG number) : Variant() {
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    // VT_BSTR holding a null BSTR: how automation says "no string given".
    explicit Variant(NullBstr) : Variant() {
        value_.vt = VT_BSTR;
        value_.bstrVal = nullptr;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }

    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

}  // namespace gui
