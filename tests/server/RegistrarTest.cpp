#include <gtest/gtest.h>

#include "ServerTestKit.h"
#include "registration/RegistryScript.h"

using namespace servertest;

namespace {

// A script whose keys live below the test's own key (kept: NoRemove).
std::wstring scriptUnder(const TestRegistryKey& key, const std::wstring& body)
{
    return L"HKCU\r\n{\r\n\tNoRemove '" + key.path() + L"'\r\n\t{\r\n" + body + L"\t}\r\n}\r\n";
}

const std::wstring kClassLikeBody =
    L"\t\tApp.Thing.1 = s 'Thing Class'\r\n"
    L"\t\t{\r\n\t\t\tCLSID = s '{11111111-2222-3333-4444-555555555555}'\r\n\t\t}\r\n"
    L"\t\tForceRemove Class = s 'It''s a thing'\r\n"
    L"\t\t{\r\n"
    L"\t\t\tForceRemove 'Programmable'\r\n"
    L"\t\t\tInprocServer32 = s '%MODULE%'\r\n"
    L"\t\t\t{\r\n\t\t\t\tval ThreadingModel = s 'Apartment'\r\n\t\t\t}\r\n"
    L"\t\t\tPercent = s '100%%'\r\n"
    L"\t\t}\r\n";

HRESULT run(const std::wstring& script, ScriptMode mode, const std::wstring& module = L"C:\\dir\\Server.dll")
{
    return runRegistryScript(script, {{L"MODULE", moduleReplacementValue(module)}}, mode);
}

}  // namespace

TEST(Registrar, RegisterWritesKeysDefaultAndNamedValues)
{
    TestRegistryKey key;
    ASSERT_EQ(S_OK, run(scriptUnder(key, kClassLikeBody), ScriptMode::Register, L"C:\\it's\\Server.dll"));

    RegistrySnapshot expected = {
        {L"", {}},
        {L"App.Thing.1", {{L"", L"Thing Class"}}},
        {L"App.Thing.1\\CLSID", {{L"", L"{11111111-2222-3333-4444-555555555555}"}}},
        {L"Class", {{L"", L"It's a thing"}}},
        {L"Class\\InprocServer32", {{L"", L"C:\\it's\\Server.dll"}, {L"ThreadingModel", L"Apartment"}}},
        {L"Class\\Percent", {{L"", L"100%"}}},
        {L"Class\\Programmable", {}},
    };
    EXPECT_EQ(expected, snapshot(key.get())) << "keys and values as the script names them; '' and %% unescaped, "
                                                "the module path's quote doubled for the script and read back single";
}

TEST(Registrar, RegisteringTwiceGivesTheSameContentAndForceRemoveDropsForeignSubkeys)
{
    TestRegistryKey key;
    const std::wstring script = scriptUnder(key, kClassLikeBody);
    ASSERT_EQ(S_OK, run(script, ScriptMode::Register));
    const RegistrySnapshot once = snapshot(key.get());

    createKey(key.get(), L"Class\\Implemented Categories\\{678C09A1-7D66-11D2-A67D-00105A42887F}");
    setStringValue(key.get(), L"Class", L"Foreign", L"value");
    createKey(key.get(), L"App.Thing.1\\Foreign");  // not ForceRemove: stays
    ASSERT_EQ(S_OK, run(script, ScriptMode::Register));

    RegistrySnapshot expected = once;
    expected[L"App.Thing.1\\Foreign"];
    EXPECT_EQ(expected, snapshot(key.get()));
}

TEST(Registrar, UnregisterRemovesNamedValuesAndKeysInnermostFirst)
{
    TestRegistryKey key;
    const std::wstring script = scriptUnder(key, kClassLikeBody);
    ASSERT_EQ(S_OK, run(script, ScriptMode::Register));
    setStringValue(key.get(), L"App.Thing.1", L"ForeignValue", L"does not keep the key");
    setStringValue(key.get(), L"Class\\InprocServer32", L"Other", L"x");
    createKey(key.get(), L"Class\\Foreign");

    ASSERT_EQ(S_OK, run(script, ScriptMode::Unregister));

    RegistrySnapshot expected = {
        {L"", {}},
        // Kept alive by a foreign subkey; its own default value is left as it was.
        {L"Class", {{L"", L"It's a thing"}}},
        {L"Class\\Foreign", {}},
    };
    EXPECT_EQ(expected, snapshot(key.get()))
        << "a key with no subkey left is deleted even with values in it; one with a foreign subkey stays";
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key.path())) << "the NoRemove key stays although it may be empty";

    EXPECT_EQ(S_OK, run(script, ScriptMode::Unregister)) << "unregistering what is not registered succeeds";
}

TEST(Registrar, ScriptWithAnErrorWritesNothing)
{
    TestRegistryKey key;
    const std::wstring broken[] = {
        L"\t\tA = s 'x'\r\n\t\tB = s 'unterminated\r\n",           // quote never closed
        L"\t\tA = s 'x'\r\n\t\tB = s 'y'\r\n\t\t{\r\n",              // brace never closed
        L"\t\tA = s 'x'\r\n\t\tB = d '5'\r\n",                     // only string values
        L"\t\tA = s 'x'\r\n\t\tB = s '%UNKNOWN%'\r\n",             // no such replacement
        L"\t\tA = s 'x'\r\n\t\tB = s 'half%'\r\n",                 // unpaired percent sign
        L"\t\tA = s 'x'\r\n\t\tval = s 'y'\r\n",                   // value without a name
    };
    for (const auto& body : broken) {
        EXPECT_EQ(kScriptSyntaxError, run(scriptUnder(key, body), ScriptMode::Register)) << "script body: " << std::string(body.begin(), body.end());
        EXPECT_EQ(1u, snapshot(key.get()).size()) << "nothing written for a script with an error";
    }
    EXPECT_EQ(kScriptSyntaxError, run(L"HKXX\r\n{\r\n}\r\n", ScriptMode::Register)) << "unknown root key";
}

TEST(Registrar, ModuleReplacementDoublesSingleQuotes)
{
    EXPECT_EQ(L"C:\\O''Brien''s\\x.dll", moduleReplacementValue(L"C:\\O'Brien's\\x.dll"));
    EXPECT_EQ(L"C:\\plain\\x.dll", moduleReplacementValue(L"C:\\plain\\x.dll"));
}
