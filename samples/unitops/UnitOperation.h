#pragma once
#include <string>
#include <vector>

#include "CapeOpen.h"
#include "ComObject.h"
#include "ComRef.h"
#include "SampleParameters.h"
#include "StreamIO.h"

// What the two Tarnwick unit operations share: identification, utilities, the
// unit interface and a few numeric parameters (ISampleParameters). They have no
// ports and do not calculate; they exist to be browsed, created, persisted and
// inspected. Every method is its own error boundary and sets an error object when
// it fails (ISupportErrorInfo says so for every interface).
//
// The persisted record (see StreamIO.h for the encoding):
//   u32 magic 0x4F555754 (the bytes "TWUO"), u32 format 1, text name, text description,
//   u32 n, then n times (text parameter name, f64 value).
// Loading checks the magic and the format, ignores parameters it does not know
// and refuses values outside their bounds; a refused record changes nothing.
namespace tarnwick {

struct ParameterSpec {
    const wchar_t* name;
    double defaultValue;
    double lower;
    double upper;
};

class UnitOperation : public sample::ObjectBase,
                      public ICapeUnit,
                      public ICapeUtilities,
                      public ICapeIdentification,
                      public ISupportErrorInfo,
                      public ISampleParameters {
public:
    void* findInterface(REFIID iid)
    {
        return sample::lookupInterface<ICapeUnit, ICapeUtilities, ICapeIdentification, ISupportErrorInfo,
                                       ISampleParameters>(this, iid);
    }

    // ICapeUnit
    STDMETHODIMP get_ports(IDispatch** ports) override;
    STDMETHODIMP get_ValStatus(CapeValidationStatus* status) override;
    STDMETHODIMP Calculate() override;
    STDMETHODIMP Validate(BSTR* message, VARIANT_BOOL* isValid) override;
    // ICapeUtilities
    STDMETHODIMP get_parameters(IDispatch** parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch* context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;
    // ICapeIdentification
    STDMETHODIMP get_ComponentName(BSTR* name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR* description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;
    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;
    // ISampleParameters
    STDMETHODIMP GetParameter(BSTR name, double* value) override;
    STDMETHODIMP SetParameter(BSTR name, double value) override;

protected:
    UnitOperation(std::wstring name, std::wstring description, std::vector<ParameterSpec> specs);
    ~UnitOperation() override;

    // Persistence support for the derived classes.
    sample::RecordWriter stateRecord() const;
    HRESULT loadState(IStream* stream);
    void resetState();
    bool isDirty() const { return dirty_; }
    void clearDirty() { dirty_ = false; }

private:
    int parameterIndex(BSTR name) const;
    void changed();

    const std::wstring defaultName_;
    const std::wstring defaultDescription_;
    const std::vector<ParameterSpec> specs_;
    std::wstring name_;
    std::wstring description_;
    std::vector<double> values_;
    CapeValidationStatus status_ = CAPE_NOT_VALIDATED;
    sample::ComRef<IDispatch> simulationContext_;
    bool dirty_ = false;
};

}  // namespace tarnwick
