#pragma once
#include <windows.h>
#include <oleauto.h>
#include <utility>

// Owns one VARIANT: VariantClear on destruction. Derives from VARIANT so that it
// can be passed where the platform wants a VARIANT* (&holder) or a VARIANT&.
class VariantHolder : public VARIANT {
public:
    VariantHolder() { VariantInit(this); }
    VariantHolder(const VariantHolder&) = delete;
    VariantHolder& operator=(const VariantHolder&) = delete;
    VariantHolder(VariantHolder&& other) noexcept
    {
        VariantInit(this);
        swapWith(other);
    }
    VariantHolder& operator=(VariantHolder&& other) noexcept
    {
        if (this != &other) {
            clear();
            swapWith(other);
        }
        return *this;
    }
    ~VariantHolder() { VariantClear(this); }

    // VariantClear's result: a content it cannot free is reported by the caller that cares.
    HRESULT clear() { return VariantClear(this); }
    // Clears and returns the slot for an out parameter.
    VARIANT* put()
    {
        clear();
        return this;
    }
    // Drops the content without clearing it: what a failed call left there belongs to
    // nobody (see callForeign).
    void forget() { VariantInit(this); }
    // Moves the content to the caller, who now owns it; this holder is left empty.
    [[nodiscard]] VARIANT detach()
    {
        VARIANT result = *this;
        VariantInit(this);
        return result;
    }

private:
    void swapWith(VariantHolder& other)
    {
        VARIANT tmp = *this;
        *static_cast<VARIANT*>(this) = other;
        *static_cast<VARIANT*>(&other) = tmp;
    }
};
