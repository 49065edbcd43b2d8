#include "testkit/ServedClass.h"

#include <oleauto.h>

#include "support/AnsiText.h"

namespace testkit {

struct ServedClass::Factory final : ComDouble<IClassFactory> {
    explicit Factory(Creator create) : ComDouble(Uncounted{}), create(std::move(create)) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : (++creations, create(iid, out));
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    Creator create;
    int creations = 0;
};

std::string newTestGuid(GUID& guid)
{
    CoCreateGuid(&guid);
    const BYTE mark[] = {0x7E, 0x57, 0x00, 0x00, 0x7E, 0x57};
    std::copy(std::begin(mark), std::end(mark), guid.Data4 + 2);
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return toAnsi(text);
}

ServedClass::ServedClass(const ClassRegistration& registration, Creator create)
{
    clsidText_ = newTestGuid(clsid_);
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
        factory_ = ComPtr<IClassFactory>::attach(new Factory(std::move(create)));
        // In-process only: the library's creations include the in-process context, and a
        // local-server registration would make every test depend on the RPC service.
        CoRegisterClassObject(clsid_, factory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    }
}

ServedClass::~ServedClass()
{
    if (cookie_)
        CoRevokeClassObject(cookie_);
}

int ServedClass::creations() const { return factory_ ? static_cast<Factory*>(factory_.get())->creations : 0; }

void ServedClass::describePackage(const std::string& package, const DescriptionTexts& values) const
{
    describeIn("PropertyPackages\\" + package + "\\CapeDescription", values);
}

void ServedClass::describeIn(const std::string& key, const DescriptionTexts& values) const
{
    classKey_->createKey(key);
    for (const auto& [name, text] : values)
        classKey_->setText(key, name.c_str(), text);
}

void leaveErrorObject(const std::wstring& description, const std::wstring& source)
{
    ComPtr<ICreateErrorInfo> creator;
    ComPtr<IErrorInfo> info;
    if (FAILED(CreateErrorInfo(creator.put())))
        return;
    creator->SetDescription(const_cast<wchar_t*>(description.c_str()));
    creator->SetSource(const_cast<wchar_t*>(source.c_str()));
    if (SUCCEEDED(creator.queryInterface(IID_IErrorInfo, info)))
        SetErrorInfo(0, info.get());
}

Creator failingCreator(HRESULT hr, const std::wstring& description)
{
    return [=](REFIID, void**) { return leaveErrorObject(description), hr; };
}

}  // namespace testkit
