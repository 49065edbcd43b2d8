// regsvr32 /n /i:user on a copy of the built library: everything goes under the user's
// classes root, naming the copy, and nothing under the machine's, and /u /n /i:user
// leaves nothing of it behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "testkit/ChildProcess.h"
#include "testkit/FileGuards.h"
#include "testkit/Library.h"
#include "testkit/RegistrySnapshot.h"
#include "testkit/RegistryTree.h"

namespace {

using namespace testkit;
const std::string kUserClasses = "Software\\Classes\\";
// The keys of the library under a classes root.
const std::vector<std::string> kOwnKeys = {"CLSID\\" + kLibraryClsid, "CLSID\\" + kCheckClsid, kLibraryProgId,
                                           kLibraryProgId + ".1", kCheckProgId, "TypeLib\\" + kTypeLibraryId,
                                           "Interface\\" + kGuiIid};

// The system's regsvr32 with these arguments; its exit code (0: it succeeded).
DWORD regsvr32(const std::string& arguments) { return runChildProcess("regsvr32.exe " + arguments); }

// The module registered for the user (regsvr32 /n /i:user) while this lives, and
// unregistered (/u /n /i:user) at the latest when it goes, even after a failed check.
struct UserRegistration {
    explicit UserRegistration(std::string path) : module(std::move(path)) {}
    ~UserRegistration() { unregister(); }
    DWORD unregister() { return std::exchange(registered, false) ? regsvr32("/s /u /n /i:user " + quoted()) : 0; }
    std::string quoted() const { return "\"" + module + "\""; }

    std::string module;
    DWORD exitCode = regsvr32("/s /n /i:user " + quoted());
    bool registered = true;
};

RegistrySnapshot snapshotOf(HKEY root, const std::string& classesRoot, const std::vector<std::string>& keys)
{
    RegistrySnapshot all;
    for (const std::string& key : keys) {
        RegKey opened;
        if (RegOpenKeyExA(root, (classesRoot + key).c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS)
            snapshotInto(opened.get(), key, all);
    }
    return all;
}

// The keys and values below the user's classes root, without the containers that a
// registration creates and never removes (CLSID is never deleted; the type library's
// removal leaves TypeLib and Interface) as long as they are empty.
RegistrySnapshot userClasses(const RegistrySnapshot& before = {})
{
    RegKey classes;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, KEY_READ, classes.put());
    RegistrySnapshot all = snapshot(classes.get());
    for (const std::string container : {"CLSID", "Interface", "TypeLib", "Typelib"}) {
        const auto found = all.find(container);
        if (found == all.end() || !found->second.empty() || before.count(container))
            continue;
        const auto next = std::next(found);
        if (next == all.end() || next->first.rfind(container + "\\", 0) != 0)
            all.erase(found);
    }
    return all;
}

}  // namespace

TEST(PerUserInstallation, RegistersUnderTheUsersClassesRootOnlyAndUnregistersWithoutALeftover)
{
    const FolderGuard folder("QnPerUser");
    const std::string copy = folder.path() + "\\QnCOGUI11.dll";
    ASSERT_TRUE(CopyFileA((programFolder() + "\\QnCOGUI11.dll").c_str(), copy.c_str(), FALSE))
        << "a copy of the built library";
    const RegistrySnapshot machineBefore = snapshotOf(HKEY_LOCAL_MACHINE, kUserClasses, kOwnKeys);
    const RegistrySnapshot userBefore = userClasses();

    EXPECT_NE(regsvr32("/s /n /i:everyone \"" + copy + "\""), 0u) << "a command line other than user is refused";
    EXPECT_EQ(userClasses(userBefore), userBefore) << "and writes nothing";

    UserRegistration registration(copy);
    ASSERT_EQ(registration.exitCode, 0u) << "regsvr32 /n /i:user succeeds";
    // The registration script's keys (the server tests check them all) and the type library's name the copy.
    for (const std::string& key :
         {"CLSID\\" + kLibraryClsid + "\\InprocServer32", "TypeLib\\" + kTypeLibraryId + "\\1.1\\409\\win64"})
        EXPECT_EQ(readText(kUserClasses + key, "", HKEY_CURRENT_USER), copy) << "under the user's classes: " << key;
    EXPECT_EQ(snapshotOf(HKEY_LOCAL_MACHINE, kUserClasses, kOwnKeys), machineBefore)
        << "the machine's registration of the library is as it was";

    EXPECT_EQ(registration.unregister(), 0u) << "regsvr32 /u /n /i:user succeeds";
    EXPECT_EQ(userClasses(userBefore), userBefore) << "nothing of the library is left under the user's classes root";
    EXPECT_EQ(snapshotOf(HKEY_LOCAL_MACHINE, kUserClasses, kOwnKeys), machineBefore)
        << "and the machine's registration is untouched";
}
