#pragma once
// A registry key a test creates, with its values, and deletes with everything below
// it on destruction, so that tests leave the machine as they found it.
#include <windows.h>

#include <string>

namespace testkit {

class RegistryTree {
public:
    // Creates root\path (and the keys above it that are missing).
    explicit RegistryTree(std::string path, HKEY root = HKEY_CLASSES_ROOT, REGSAM view = 0);
    ~RegistryTree();
    RegistryTree(const RegistryTree&) = delete;
    RegistryTree& operator=(const RegistryTree&) = delete;

    const std::string& path() const { return path_; }
    // Writes a value under path\subkey (subkey may be empty), creating the key.
    void setText(const std::string& subkey, const char* name, const std::string& text) const;
    void createKey(const std::string& subkey) const;

private:
    HKEY root_;
    REGSAM view_;
    std::string path_;
};

// Whether root\path exists.
bool keyExists(const std::string& path, HKEY root = HKEY_CLASSES_ROOT, REGSAM view = 0);
// The text of a REG_SZ value ("" when missing).
std::string readText(const std::string& path, const char* name, HKEY root = HKEY_CLASSES_ROOT);

}  // namespace testkit
