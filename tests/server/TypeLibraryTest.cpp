// The type library embedded in the module, read back as a late-bound client would.
#include <gtest/gtest.h>

#include <vector>

#include "QnShowCOCATIDs11.h"

#include "ServerTestKit.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"

using namespace servertest;

namespace {

constexpr USHORT IN_ = PARAMFLAG_FIN;
constexpr USHORT OUT_ = PARAMFLAG_FOUT;
constexpr USHORT RETVAL_ = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
constexpr USHORT INOUT_ = PARAMFLAG_FIN | PARAMFLAG_FOUT;
constexpr USHORT NONE_ = PARAMFLAG_NONE;  // no direction given: the compiler's default

struct Member {
    MEMBERID id;
    INVOKEKIND kind;
    const char* name;
    std::vector<std::string> parameters;  // names (a put's value is unnamed)
    std::vector<USHORT> flags;
    const char* help;  // null: "method <name>" or "property <name>"
};

const INVOKEKIND M = INVOKE_FUNC, GET = INVOKE_PROPERTYGET, PUT = INVOKE_PROPERTYPUT;

// ICCAPEGUI in vtable order, after IDispatch's seven methods.
const std::vector<Member> kMembers = {
    {1, M, "ShowGUI", {"szComponent", "szCATIDs"}, {INOUT_, INOUT_}, nullptr},
    {2, M, "GetItemCLSID", {"itemclsid"}, {RETVAL_}, nullptr},
    {3, M, "GetItemProgID", {"itemprogid"}, {RETVAL_}, nullptr},
    {4, M, "GetItemAlias", {"itemAlias"}, {RETVAL_}, nullptr},
    {5, M, "GetParentCLSID", {"Parentclsid"}, {RETVAL_}, nullptr},
    {6, M, "GetParentProgID", {"Parentprogid"}, {RETVAL_}, nullptr},
    {7, M, "GetParentAlias", {"ParentAlias"}, {RETVAL_}, nullptr},
    {8, M, "GetCATID", {"catid"}, {RETVAL_}, nullptr},
    {10, M, "setComponent", {"comp"}, {NONE_}, nullptr},
    {11, M, "getPersistType", {"pt"}, {OUT_}, nullptr},
    {12, M, "saveStorage", {}, {}, nullptr},
    {13, M, "loadStorage", {"isRecalling"}, {NONE_}, nullptr},
    {14, M, "createComp", {"component", "parent"}, {OUT_, OUT_}, nullptr},
    {15, M, "getLastError", {"msg"}, {NONE_}, nullptr},
    {16, M, "setup", {"HWND", "container", "filter"}, {IN_, NONE_, IN_}, "method setContext"},
    {17, M, "setProgIds", {"szComponentProgId", "szParentProgId"}, {IN_, IN_}, nullptr},
    {18, M, "releaseComponents", {}, {}, nullptr},
    {19, PUT, "enableWarnings", {}, {IN_}, nullptr},
    {20, M, "setAlias", {"szComponentAlias", "szParentAlias"}, {IN_, IN_}, nullptr},
    {21, GET, "serverName", {"pVal"}, {RETVAL_}, nullptr},
    {21, PUT, "serverName", {}, {IN_}, nullptr},
    {22, GET, "compCOversion", {"pVal"}, {RETVAL_}, "CAPE-OPEN version of comp: 90, 93, 100"},
    {22, PUT, "compCOversion", {}, {IN_}, "CAPE-OPEN version of comp: 90, 93, 100"},
    {23, M, "ShowThermoGUI", {"allowModifications"}, {NONE_}, nullptr},
    {24, M, "getThis", {"rawPointer"}, {OUT_}, nullptr},
    {25, M, "getCompOptions", {"allowSubsets", "freeCompounds", "treatAsHypos"}, {OUT_, OUT_, OUT_}, nullptr},
    {26, M, "setPPInfo", {"hyNames", "matchedBy", "mapping"}, {NONE_, NONE_, NONE_}, nullptr},
    {27, M, "simulateThermoGUI", {"freeCompounds", "allowSubsets", "treatAsHypos"}, {NONE_, NONE_, NONE_}, nullptr},
    {28, M, "getFullCOPPClassName", {"name"}, {RETVAL_}, nullptr},
    {29, M, "setCompOptions", {"allowSubsets", "freeCompounds", "treatAsHypos"}, {NONE_, NONE_, NONE_}, nullptr},
    {30, M, "traceReport", {"msg", "appendNewLine"}, {NONE_, NONE_}, nullptr},
    {31, M, "showStaticInfo", {}, {}, nullptr},
    {32, M, "setRecovErrorsOptions", {"trace", "log", "popUp"}, {NONE_, NONE_, NONE_}, nullptr},
    {33, M, "getRecovErrorsOptions", {"trace", "log", "popUp"}, {OUT_, OUT_, OUT_}, nullptr},
    {34, GET, "socketVersion", {"pVal"}, {RETVAL_}, nullptr},
    {34, PUT, "socketVersion", {}, {IN_}, nullptr},
    {35, GET, "supportedPhaseTypes", {"pVal"}, {RETVAL_}, nullptr},
    {35, PUT, "supportedPhaseTypes", {}, {IN_}, nullptr},
    {36, GET, "requestLiquid2", {"pVal"}, {RETVAL_}, nullptr},
    {36, PUT, "requestLiquid2", {}, {IN_}, nullptr},
    {37, GET, "doOrderPhases", {"pVal"}, {RETVAL_}, nullptr},
    {37, PUT, "doOrderPhases", {}, {IN_}, nullptr},
    {38, M, "getCritErrorsOptions", {"trace", "log", "popUp"}, {OUT_, OUT_, OUT_}, nullptr},
    {39, M, "setCritErrorsOptions", {"trace", "log", "popUp"}, {NONE_, NONE_, NONE_}, nullptr},
    {40, M, "GetItemInfo", {"description", "componentVersion", "vendorURL", "helpURL", "about"},
     {OUT_, OUT_, OUT_, OUT_, OUT_}, "Component Info from registry"},
};

std::string documentation(ITypeInfo* info, MEMBERID id, bool help)
{
    UniqueBstr name, text;
    info->GetDocumentation(id, name.put(), text.put(), nullptr, nullptr);
    return toAnsi((help ? text : name).text());
}

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, LoadTypeLibEx(builtDllPath().c_str(), REGKIND_NONE, library.put()))
            << "the module holds its type library (TYPELIB 1)";
    }
    ComPtr<ITypeLib> library;
};

}  // namespace

TEST_F(TypeLibrary, LibraryAndItsTypesInOrder)
{
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_QNSHOWCOCATIDS11Lib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(1, attributes->wMinorVerNum);
    EXPECT_EQ(0x409u, attributes->lcid);
    library->ReleaseTLibAttr(attributes);
    UniqueBstr name, help;
    library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr);
    EXPECT_EQ(L"QNSHOWCOCATIDS11Lib", name.text());
    EXPECT_EQ(L"QnShowCOCATIDs11 1.1 Type Library", help.text());

    struct Expected {
        TYPEKIND kind;
        const char* name;
        const char* help;
    };
    const Expected types[] = {{TKIND_ENUM, "categoryFilterTag", ""},
                              {TKIND_DISPATCH, "ICCAPEGUI", "ICCAPEGUI 11 Interface"},
                              {TKIND_ALIAS, "INT_PTR", ""},
                              {TKIND_COCLASS, "CCAPEGUI", "CCAPEGUI11 Class"}};
    ASSERT_EQ(4u, library->GetTypeInfoCount());
    for (UINT i = 0; i < 4; ++i) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(S_OK, library->GetTypeInfo(i, info.put()));
        TYPEATTR* type = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&type));
        EXPECT_EQ(types[i].kind, type->typekind) << types[i].name;
        if (type->typekind == TKIND_ALIAS) {
            EXPECT_EQ(VT_I8, type->tdescAlias.vt) << "INT_PTR is pointer-sized";
        }
        if (type->typekind == TKIND_DISPATCH) {
            EXPECT_TRUE(type->wTypeFlags & TYPEFLAG_FDUAL);
        }
        info->ReleaseTypeAttr(type);
        EXPECT_EQ(types[i].name, documentation(info.get(), MEMBERID_NIL, false));
        EXPECT_EQ(types[i].help, documentation(info.get(), MEMBERID_NIL, true));
    }
}

TEST_F(TypeLibrary, InterfaceMembersInVtableOrder)
{
    ComPtr<ITypeInfo> dispatchView, info;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(IID_ICCAPEGUI, dispatchView.put()));
    HREFTYPE vtableView = 0;
    ASSERT_EQ(S_OK, dispatchView->GetRefTypeOfImplType(-1, &vtableView)) << "a dual interface";
    ASSERT_EQ(S_OK, dispatchView->GetRefTypeInfo(vtableView, info.put()));
    TYPEATTR* type = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&type));
    const size_t count = type->cFuncs;
    info->ReleaseTypeAttr(type);
    ASSERT_EQ(kMembers.size(), count);

    for (size_t i = 0; i < count; ++i) {
        const Member& expected = kMembers[i];
        FUNCDESC* function = nullptr;
        ASSERT_EQ(S_OK, info->GetFuncDesc(static_cast<UINT>(i), &function));
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(expected.id, function->memid);
        EXPECT_EQ(expected.kind, function->invkind);
        EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), function->oVft) << "vtable slot " << 7 + i;
        ASSERT_EQ(expected.flags.size(), static_cast<size_t>(function->cParams));
        for (size_t p = 0; p < expected.flags.size(); ++p)
            EXPECT_EQ(expected.flags[p], function->lprgelemdescParam[p].paramdesc.wParamFlags) << "parameter " << p;
        info->ReleaseFuncDesc(function);

        BSTR names[8] = {};
        UINT found = 0;
        info->GetNames(expected.id, names, 8, &found);
        std::vector<std::string> parameters;
        for (UINT n = 0; n < found; ++n) {
            if (n > 0)
                parameters.push_back(toAnsi(names[n]));
            SysFreeString(names[n]);
        }
        if (expected.kind != PUT) {
            EXPECT_EQ(expected.parameters, parameters);
        }
        EXPECT_EQ(expected.name, documentation(info.get(), expected.id, false));
        const std::string help = expected.help ? expected.help
                                               : std::string(expected.kind == M ? "method " : "property ") + expected.name;
        EXPECT_EQ(help, documentation(info.get(), expected.id, true));
    }
}
