#pragma once
// The module name the support code runs under (the library registers its own when
// loaded): the test's for the holder's lifetime, the previous one afterwards.
#include <string>

#include "support/MTUtils.h"

class ModuleName {
public:
    explicit ModuleName(const char* name) : saved_(MTUtils::moduleName()) { MTUtils::setModuleName(name); }
    ~ModuleName() { MTUtils::setModuleName(saved_.c_str()); }
    ModuleName(const ModuleName&) = delete;

private:
    std::string saved_;
};
