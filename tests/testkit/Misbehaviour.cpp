#include "testkit/Misbehaviour.h"

#include <stdexcept>

namespace testkit {

std::optional<HRESULT> misbehave(const Misbehaving& m, const std::vector<VARIANT*>& variants, void** object)
{
    ++*m.calls;
    switch (m.how) {
    case Misbehaviour::LeavesObject:
        for (VARIANT* variant : variants)
            V_VT(variant) = VT_UNKNOWN, V_UNKNOWN(variant) = m.leftover;
        if (object)
            *object = m.leftover;
        return E_FAIL;
    case Misbehaviour::FailsSilently:
        SetErrorInfo(0, nullptr);
        return E_FAIL;
    case Misbehaviour::CallsBack:
        m.callBack();
        return std::nullopt;
    case Misbehaviour::Throws:
        throw std::runtime_error("a careless component's own failure");
    case Misbehaviour::Crashes: {
        volatile int* volatile nowhere = nullptr;
        *nowhere = 1;  // both volatile, or the compiler drops the store
        return E_FAIL;
    }
    case Misbehaviour::WrongVariant:
        for (VARIANT* variant : variants)
            V_VT(variant) = VT_I4, V_I4(variant) = 42;
        return variants.size() ? std::optional<HRESULT>(S_OK) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace testkit
