#include "testkit/ServedClass.h"

#include <oleauto.h>

#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "testkit/ComDouble.h"

namespace testkit {

struct ServedClass::Factory final : ComDouble<IClassFactory> {
    explicit Factory(Creator create) : ComDouble(Uncounted{}), create(std::move(create)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        ++creations;
        return create(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    Creator create;
    int creations = 0;
};

ServedClass::ServedClass(const ClassRegistration& registration, Creator create)
{
    CoCreateGuid(&clsid_);
    wchar_t text[40] = {};
    StringFromGUID2(clsid_, text, 40);
    clsidText_ = toAnsi(text);
    classKey_ = std::make_unique<RegistryTree>("CLSID\\" + clsidText_);
    if (!registration.progIdStem.empty()) {
        // The CLSID's first group keeps the ProgIDs of concurrent runs apart.
        progId_ = registration.progIdStem + "." + clsidText_.substr(1, 8);
        classKey_->setText("ProgID", nullptr, progId_);
        progIdKey_ = std::make_unique<RegistryTree>(progId_);
        progIdKey_->setText("CLSID", nullptr, clsidText_);
    }
    for (const std::string& catid : registration.catids)
        classKey_->createKey("Implemented Categories\\" + catid);
    if (!registration.description.empty())
        describe(registration.description);
    if (create) {
        factory_ = new Factory(std::move(create));
        // In-process only: the library's creations include the in-process context, and a
        // local-server registration would make every test depend on the RPC service.
        CoRegisterClassObject(clsid_, static_cast<IClassFactory*>(factory_), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                              &cookie_);
    }
}

ServedClass::~ServedClass()
{
    if (cookie_)
        CoRevokeClassObject(cookie_);
    if (factory_)
        ComPtr<IClassFactory>::attach(factory_);  // lets go of the reference held while served
}

int ServedClass::creations() const
{
    return factory_ ? factory_->creations : 0;
}

void ServedClass::describe(const DescriptionTexts& values) const
{
    classKey_->createKey("CapeDescription");
    for (const auto& [name, text] : values)
        classKey_->setText("CapeDescription", name.c_str(), text);
}

void ServedClass::describePackage(const std::string& package, const DescriptionTexts& values) const
{
    const std::string key = "PropertyPackages\\" + package + "\\CapeDescription";
    classKey_->createKey(key);
    for (const auto& [name, text] : values)
        classKey_->setText(key, name.c_str(), text);
}

void ServedClass::setText(const std::string& subkey, const char* name, const std::string& text) const
{
    classKey_->setText(subkey, name, text);
}

void leaveErrorObject(const std::wstring& description, const std::wstring& source)
{
    ComPtr<ICreateErrorInfo> creator;
    if (FAILED(CreateErrorInfo(creator.put())))
        return;
    creator->SetDescription(const_cast<wchar_t*>(description.c_str()));
    creator->SetSource(const_cast<wchar_t*>(source.c_str()));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(creator.queryInterface(IID_IErrorInfo, info)))
        SetErrorInfo(0, info.get());
}

Creator failingCreator(HRESULT hr, const std::wstring& description)
{
    return [=](REFIID, void**) {
        leaveErrorObject(description);
        return hr;
    };
}

Creator nullObjectCreator()
{
    return [](REFIID, void** out) {
        *out = nullptr;
        return S_OK;
    };
}

}  // namespace testkit
