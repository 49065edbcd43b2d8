#pragma once
// The benchmarks' synthetic installation, registered in the prefix they run in for as
// long as it lives: N unit operations (a ProgID and six description values each) and
// M Property Package Managers served by the benchmark process, with K packages each
// (half described under the manager's PropertyPackages key, half falling back on the
// manager's description).
#include <memory>
#include <string>
#include <vector>

#include "catalogue/CategoryTable.h"
#include "testkit/ManagerDouble.h"
#include "testkit/ServedClass.h"

struct Installation {
    std::vector<std::unique_ptr<testkit::ServedClass>> classes;

    void addUnits(size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            auto unit = std::make_unique<testkit::ServedClass>(
                testkit::ClassRegistration{"QnBench.Unit" + std::to_string(i), {kCategoryTable[0].catid}, {}});
            unit->describe({{"Name", "Synthetic unit " + std::to_string(i)},
                            {"Description", "A unit operation made up for the benchmark"},
                            {"CapeVersion", "1.0"},
                            {"ComponentVersion", "1.0." + std::to_string(i)},
                            {"VendorURL", "http://vendor.example/units"},
                            {"About", "Benchmark unit\\nnumber " + std::to_string(i)}});
            classes.push_back(std::move(unit));
        }
    }

    void addManagers(size_t count, size_t packages)
    {
        for (size_t m = 0; m < count; ++m) {
            std::vector<std::wstring> names;
            for (size_t p = 0; p < packages; ++p)
                names.push_back(L"Package " + std::to_wstring(p));
            auto manager = std::make_unique<testkit::ServedClass>(
                testkit::ClassRegistration{"QnBench.Manager" + std::to_string(m), {kCategoryTable[1].catid}, {}},
                testkit::creatorOf<testkit::ManagerDouble>(names));
            manager->describe({{"Name", "Synthetic manager " + std::to_string(m)},
                               {"Description", "A property package manager made up for the benchmark"},
                               {"CapeVersion", "1.1"},
                               {"VendorURL", "http://vendor.example/thermo"}});
            for (size_t p = 0; p < packages; ++p) {
                if (p % 2 == 0)  // half describe themselves, half fall back on the manager
                    manager->describePackage(
                        "Package " + std::to_string(p),
                        {{"Name", "Described package " + std::to_string(p)}, {"Description", "Its own description"}});
            }
            classes.push_back(std::move(manager));
        }
    }
};
