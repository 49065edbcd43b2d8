#include "CreationFixture.h"

#include "support/RegKey.h"
#include "support/UniqueBstr.h"

namespace creationtest {

long liveObjects(const wchar_t* dll)
{
    HMODULE module = GetModuleHandleW(dll);
    auto count = reinterpret_cast<LONG(WINAPI*)()>(
        module ? reinterpret_cast<void*>(GetProcAddress(module, "GetLiveObjectCount")) : nullptr);
    return count ? count() : 0;
}

RegisteredInterfaceName::RegisteredInterfaceName(REFIID iid, const char* name)
{
    wchar_t text[40] = {};
    StringFromGUID2(iid, text, 40);
    key_ = "Interface\\";
    for (const wchar_t* c = text; *c; ++c)
        key_ += static_cast<char>(*c);
    RegKey existing;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_READ, existing.put()) == ERROR_SUCCESS)
        return;
    RegKey key;
    created_ = RegCreateKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                               nullptr) == ERROR_SUCCESS;
    if (created_)
        RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                       static_cast<DWORD>(strlen(name) + 1));
}

RegisteredInterfaceName::~RegisteredInterfaceName()
{
    if (created_)
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str());
}

void Creation::SetUp()
{
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid()))
        << "the registered library creates its automation object";
}

void Creation::TearDown()
{
    if (gui) {
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    gui = nullptr;
    for (const wchar_t* dll : {L"TestComponents.dll", L"SampleUnitOperations.dll", L"SamplePackageManager.dll",
                               L"SamplePropertyPackage.dll"})
        EXPECT_EQ(0, liveObjects(dll)) << "every object of " << testing::PrintToString(std::wstring(dll))
                                       << " has been released";
}

void Creation::choose(const std::wstring& progId, const std::wstring& parentProgId, long filter)
{
    ASSERT_EQ(S_OK, gui->setup(0, nullptr, filter));
    UniqueBstr item(progId.c_str()), parent(parentProgId.c_str());
    ASSERT_EQ(S_OK, gui->setProgIds(item.get(), parent.get()));
}

Created Creation::create()
{
    Created created;
    created.hr = gui->createComp(created.component.put(), created.parent.put());
    return created;
}

long Creation::version()
{
    LONG value = -1;
    EXPECT_EQ(S_OK, gui->get_compCOversion(&value));
    return value;
}

std::vector<std::string> Creation::texts() const
{
    std::vector<std::string> result;
    for (const ShownBox& box : boxes.boxes())
        result.push_back(box.text);
    return result;
}

bool Creation::shown(const std::string& piece) const
{
    for (const ShownBox& box : boxes.boxes())
        if (box.text.find(piece) != std::string::npos)
            return true;
    return false;
}

}  // namespace creationtest
