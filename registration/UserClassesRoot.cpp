#include "registration/UserClassesRoot.h"

UserClassesRoot::UserClassesRoot()
{
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, userClasses_.put(), nullptr);
    if (error == ERROR_SUCCESS)
        error = RegOverridePredefKey(HKEY_CLASSES_ROOT, userClasses_.get());
    status_ = HRESULT_FROM_WIN32(static_cast<DWORD>(error));
}

UserClassesRoot::~UserClassesRoot()
{
    if (SUCCEEDED(status_))
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
}
