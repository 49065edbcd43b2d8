// ICapeThermoCompounds of the sample property packages.
#include "CapeErrors.h"
#include "ThermoPackage.h"
#include "VariantArrays.h"

namespace sample::thermo {
namespace {

ConstantValue constantOf(const Compound& compound, const std::wstring& property)
{
    if (property == L"molecularWeight")
        return compound.molecularWeight;
    if (property == L"normalBoilingPoint")
        return compound.normalBoilingPoint;
    if (property == L"criticalTemperature")
        return compound.criticalTemperature;
    if (property == L"criticalPressure")
        return compound.criticalPressure;
    if (property == L"casRegistryNumber")
        return std::wstring(compound.casNumber);
    if (property == L"chemicalFormula")
        return std::wstring(compound.formula);
    return std::monostate{};
}

bool isListed(const std::vector<std::wstring>& list, const std::wstring& value)
{
    for (const std::wstring& item : list)
        if (item == value)
            return true;
    return false;
}

const wchar_t constantSource[] = L"ICapeThermoCompounds::GetCompoundConstant";

}  // namespace

// propVals holds P x C VARIANTs for P properties and C compounds: the first C
// elements are the first property of every compound, the next C the second, and
// so on. An empty compIds stands for all compounds of the package, in its order.
STDMETHODIMP ThermoPackage::GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT* propVals)
{
    if (!propVals)
        return E_POINTER;
    return guarded(constantSource, IID_ICapeThermoCompounds, [&] {
        std::vector<std::wstring> properties;
        if (FAILED(readStrings(props, properties)) || properties.empty())
            return raiseError(ECapeInvalidArgumentHR, L"props must hold the names of constant properties.",
                              constantSource, IID_ICapeThermoCompounds);
        for (const std::wstring& property : properties)
            if (!isListed(constantProperties(), property))
                return raiseError(ECapeInvalidArgumentHR,
                                  L"'" + property + L"' is not a constant property of this package.", constantSource,
                                  IID_ICapeThermoCompounds);

        const std::vector<const Compound*> own = compounds();
        std::vector<const Compound*> selected;
        if (compIds.vt == VT_EMPTY) {
            selected = own;
        } else {
            std::vector<std::wstring> ids;
            if (FAILED(readStrings(compIds, ids)))
                return raiseError(ECapeInvalidArgumentHR, L"compIds must hold compound identifiers.", constantSource,
                                  IID_ICapeThermoCompounds);
            for (const std::wstring& id : ids) {
                const Compound* found = nullptr;
                for (const Compound* compound : own)
                    if (id == compound->id)
                        found = compound;
                if (!found)
                    return raiseError(ECapeInvalidArgumentHR, L"Compound '" + id + L"' is not in this package.",
                                      constantSource, IID_ICapeThermoCompounds);
                selected.push_back(found);
            }
        }

        std::vector<ConstantValue> values;
        for (const std::wstring& property : properties)
            for (const Compound* compound : selected)
                values.push_back(constantOf(*compound, property));
        Variant result;
        HRESULT hr = makeVariantArray(values, result);
        if (SUCCEEDED(hr))
            result.moveToOut(propVals);
        return hr;
    });
}

STDMETHODIMP ThermoPackage::GetCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                            VARIANT* molwts, VARIANT* casnos)
{
    if (!compIds || !formulae || !names || !boilTemps || !molwts || !casnos)
        return E_POINTER;
    return guarded(L"ICapeThermoCompounds::GetCompoundList", IID_ICapeThermoCompounds, [&] {
        std::vector<std::wstring> ids, formulas, fullNames, cas;
        std::vector<double> boiling, weights;
        for (const Compound* compound : compounds()) {
            ids.push_back(compound->id);
            formulas.push_back(compound->formula);
            fullNames.push_back(compound->name);
            cas.push_back(compound->casNumber);
            boiling.push_back(compound->normalBoilingPoint);
            weights.push_back(compound->molecularWeight);
        }
        // All six are built before any is handed over: a failure changes nothing.
        Variant results[6];
        HRESULT hr = makeStringArray(ids, results[0]);
        if (SUCCEEDED(hr))
            hr = makeStringArray(formulas, results[1]);
        if (SUCCEEDED(hr))
            hr = makeStringArray(fullNames, results[2]);
        if (SUCCEEDED(hr))
            hr = makeDoubleArray(boiling, results[3]);
        if (SUCCEEDED(hr))
            hr = makeDoubleArray(weights, results[4]);
        if (SUCCEEDED(hr))
            hr = makeStringArray(cas, results[5]);
        if (FAILED(hr))
            return hr;
        VARIANT* targets[6] = {compIds, formulae, names, boilTemps, molwts, casnos};
        for (int i = 0; i < 6; ++i)
            results[i].moveToInOut(targets[i]);
        return S_OK;
    });
}

STDMETHODIMP ThermoPackage::GetConstPropList(VARIANT* props)
{
    if (!props)
        return E_POINTER;
    return guarded(L"ICapeThermoCompounds::GetConstPropList", IID_ICapeThermoCompounds, [&] {
        Variant result;
        HRESULT hr = makeStringArray(constantProperties(), result);
        if (SUCCEEDED(hr))
            result.moveToOut(props);
        return hr;
    });
}

STDMETHODIMP ThermoPackage::GetNumCompounds(long* num)
{
    if (!num)
        return E_POINTER;
    return guarded(L"ICapeThermoCompounds::GetNumCompounds", IID_ICapeThermoCompounds, [&] {
        *num = static_cast<long>(compounds().size());
        return S_OK;
    });
}

// The samples model no temperature- or pressure-dependent compound properties:
// their lists are empty and any request names a property they do not have.
STDMETHODIMP ThermoPackage::GetPDependentProperty(VARIANT, double, VARIANT, VARIANT* propVals)
{
    if (!propVals)
        return E_POINTER;
    return raiseError(ECapeInvalidArgumentHR, L"This package has no pressure-dependent compound properties.",
                      L"ICapeThermoCompounds::GetPDependentProperty", IID_ICapeThermoCompounds);
}

STDMETHODIMP ThermoPackage::GetPDependentPropList(VARIANT* props)
{
    if (!props)
        return E_POINTER;
    return guarded(L"ICapeThermoCompounds::GetPDependentPropList", IID_ICapeThermoCompounds, [&] {
        Variant result;
        HRESULT hr = makeStringArray({}, result);
        if (SUCCEEDED(hr))
            result.moveToOut(props);
        return hr;
    });
}

STDMETHODIMP ThermoPackage::GetTDependentProperty(VARIANT, double, VARIANT, VARIANT* propVals)
{
    if (!propVals)
        return E_POINTER;
    return raiseError(ECapeInvalidArgumentHR, L"This package has no temperature-dependent compound properties.",
                      L"ICapeThermoCompounds::GetTDependentProperty", IID_ICapeThermoCompounds);
}

STDMETHODIMP ThermoPackage::GetTDependentPropList(VARIANT* props)
{
    if (!props)
        return E_POINTER;
    return guarded(L"ICapeThermoCompounds::GetTDependentPropList", IID_ICapeThermoCompounds, [&] {
        Variant result;
        HRESULT hr = makeStringArray({}, result);
        if (SUCCEEDED(hr))
            result.moveToOut(props);
        return hr;
    });
}

}  // namespace sample::thermo
