#include "testkit/RegistryTree.h"

#include <stdexcept>

#include "support/RegKey.h"

namespace testkit {

namespace {

RegKey create(HKEY root, REGSAM view, const std::string& path)
{
    RegKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create registry key " + path);
    return key;
}

std::string below(const std::string& path, const std::string& subkey)
{
    return subkey.empty() ? path : path + "\\" + subkey;
}

}  // namespace

RegistryTree::RegistryTree(std::string path, HKEY root, REGSAM view) : root_(root), view_(view), path_(std::move(path))
{
    create(root_, view_, path_);
}

RegistryTree::~RegistryTree()
{
    RegKey parent;
    const auto split = path_.find_last_of('\\');
    const std::string parentPath = split == std::string::npos ? "" : path_.substr(0, split);
    const std::string leaf = split == std::string::npos ? path_ : path_.substr(split + 1);
    if (RegOpenKeyExA(root_, parentPath.c_str(), 0, KEY_ALL_ACCESS | view_, parent.put()) != ERROR_SUCCESS)
        return;
    RegDeleteTreeA(parent.get(), leaf.c_str());
    RegDeleteKeyExA(parent.get(), leaf.c_str(), view_, 0);
}

void RegistryTree::setText(const std::string& subkey, const char* name, const std::string& text) const
{
    RegKey key = create(root_, view_, below(path_, subkey));
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void RegistryTree::createKey(const std::string& subkey) const
{
    create(root_, view_, below(path_, subkey));
}

bool keyExists(const std::string& path, HKEY root, REGSAM view)
{
    RegKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}

std::string readText(const std::string& path, const char* name, HKEY root)
{
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

}  // namespace testkit
