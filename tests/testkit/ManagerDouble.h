#pragma once
#include <string>
#include <utility>
#include <vector>

#include "CapeOpen.h"
#include "support/UniqueBstr.h"
#include "testkit/ComDouble.h"

namespace testkit {

// A 1.1 Property Package Manager whose list, an array of names, comes with listResult;
// managerQuery answers the question for its interface. It makes no package.
class ManagerDouble final : public ComDouble<ICapeThermoPropertyPackageManager> {
public:
    explicit ManagerDouble(std::vector<std::wstring> names, HRESULT managerQuery = S_OK, HRESULT listResult = S_OK)
        : names_(std::move(names)), managerQuery_(managerQuery), listResult_(listResult)
    {
    }
    STDMETHODIMP GetPropertyPackageList(VARIANT* list) override
    {
        V_VT(list) = VT_ARRAY | VT_BSTR;
        V_ARRAY(list) = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names_.size()));
        for (LONG i = 0; i < static_cast<LONG>(names_.size()); ++i)
            SafeArrayPutElement(V_ARRAY(list), &i, UniqueBstr(names_[static_cast<size_t>(i)].c_str()).get());
        return listResult_;
    }
    STDMETHODIMP GetPropertyPackage(BSTR, IDispatch**) override { return E_NOTIMPL; }

protected:
    HRESULT refusal(REFIID iid) override { return iid == IID_ICapeThermoPropertyPackageManager ? managerQuery_ : S_OK; }

private:
    std::vector<std::wstring> names_;
    HRESULT managerQuery_, listResult_;
};

}  // namespace testkit
