#pragma once
#include <windows.h>
#include <array>
#include <memory>
#include <string>

#include "QnShowCOCATIDs11.h"
#include "HostContainer.h"

#include "automation/DualObject.h"
#include "automation/PersistenceSupport.h"
#include "catalogue/ComponentSelection.h"
#include "packagedialog/CCOTHConfig.h"
#include "support/CQnBSTR.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

// The automation object behind ICCAPEGUI (class CCAPEGUI11, coclass CCAPEGUI): what
// the host drives the whole library through. It remembers the chosen component and
// its parent Property Package Manager, holds the host's container, window and
// category filter, and owns the component references it is given.
//
// Method rules: every method is its own error boundary, nothing escapes it. Most
// methods begin with enterMethod, which makes the host window the owner of the
// message boxes the call may show; the plain accessors do not. Dialogs, icons and
// texts are loaded from the module that contains the code (currentModule()), so no
// per-call module state has to be switched.
class CCCAPEGUI : public DualObject<ICCAPEGUI>, private PackageDialogOwner {
public:
    // The class factory's creation: plain, or aggregated when outer is given.
    static HRESULT createInstance(IUnknown* outer, REFIID iid, void** out);

    // ICCAPEGUI, in interface order.
    HRESULT STDMETHODCALLTYPE ShowGUI(BSTR* szComponent, BSTR* szCATIDs) override;
    HRESULT STDMETHODCALLTYPE GetItemCLSID(BSTR* itemclsid) override;
    HRESULT STDMETHODCALLTYPE GetItemProgID(BSTR* itemprogid) override;
    HRESULT STDMETHODCALLTYPE GetItemAlias(BSTR* alias) override;
    HRESULT STDMETHODCALLTYPE GetParentCLSID(BSTR* Parentclsid) override;
    HRESULT STDMETHODCALLTYPE GetParentProgID(BSTR* Parentprogid) override;
    HRESULT STDMETHODCALLTYPE GetParentAlias(BSTR* alias) override;
    HRESULT STDMETHODCALLTYPE GetCATID(BSTR* catid) override;
    HRESULT STDMETHODCALLTYPE setComponent(IDispatch* comp) override;
    HRESULT STDMETHODCALLTYPE getPersistType(LONG* pt) override;
    HRESULT STDMETHODCALLTYPE saveStorage() override;
    HRESULT STDMETHODCALLTYPE loadStorage(VARIANT_BOOL recalling) override;
    HRESULT STDMETHODCALLTYPE createComp(IDispatch** comp, IDispatch** parentOut) override;
    HRESULT STDMETHODCALLTYPE getLastError(BSTR* msg) override;
    HRESULT STDMETHODCALLTYPE setup(INT_PTR window, IDispatch* hostContainer, LONG filter) override;
    HRESULT STDMETHODCALLTYPE setProgIds(BSTR szComponentProgId, BSTR szParentProgId) override;
    HRESULT STDMETHODCALLTYPE releaseComponents() override;
    HRESULT STDMETHODCALLTYPE put_enableWarnings(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE setAlias(BSTR szComponentAlias, BSTR szParentAlias) override;
    HRESULT STDMETHODCALLTYPE get_serverName(BSTR* pVal) override;
    HRESULT STDMETHODCALLTYPE put_serverName(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_compCOversion(LONG* pVal) override;
    HRESULT STDMETHODCALLTYPE put_compCOversion(LONG value) override;
    HRESULT STDMETHODCALLTYPE ShowThermoGUI(VARIANT_BOOL allowModifications) override;
    HRESULT STDMETHODCALLTYPE getThis(INT_PTR* rawPointer) override;
    HRESULT STDMETHODCALLTYPE getCompOptions(VARIANT_BOOL* allowSubsets, VARIANT_BOOL* freeCompounds,
                                             VARIANT_BOOL* treatAsHypos) override;
    HRESULT STDMETHODCALLTYPE setPPInfo(VARIANT* hyNames, VARIANT* matchedBy, VARIANT* mapping) override;
    HRESULT STDMETHODCALLTYPE simulateThermoGUI(VARIANT_BOOL freeCompounds, VARIANT_BOOL allowSubsets,
                                                VARIANT_BOOL treatAsHypos) override;
    HRESULT STDMETHODCALLTYPE getFullCOPPClassName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE setCompOptions(VARIANT_BOOL allowSubsets, VARIANT_BOOL freeCompounds,
                                             VARIANT_BOOL treatAsHypos) override;
    HRESULT STDMETHODCALLTYPE traceReport(BSTR msg, VARIANT_BOOL appendNewLine) override;
    HRESULT STDMETHODCALLTYPE showStaticInfo() override;
    HRESULT STDMETHODCALLTYPE setRecovErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt,
                                                    VARIANT_BOOL popUp) override;
    HRESULT STDMETHODCALLTYPE getRecovErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                    VARIANT_BOOL* popUp) override;
    HRESULT STDMETHODCALLTYPE get_socketVersion(BSTR* pVal) override;
    HRESULT STDMETHODCALLTYPE put_socketVersion(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_supportedPhaseTypes(VARIANT* pVal) override;
    HRESULT STDMETHODCALLTYPE put_supportedPhaseTypes(VARIANT value) override;
    HRESULT STDMETHODCALLTYPE get_requestLiquid2(VARIANT_BOOL* pVal) override;
    HRESULT STDMETHODCALLTYPE put_requestLiquid2(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_doOrderPhases(VARIANT_BOOL* pVal) override;
    HRESULT STDMETHODCALLTYPE put_doOrderPhases(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE getCritErrorsOptions(VARIANT_BOOL* traceIt, VARIANT_BOOL* logIt,
                                                   VARIANT_BOOL* popUp) override;
    HRESULT STDMETHODCALLTYPE setCritErrorsOptions(VARIANT_BOOL traceIt, VARIANT_BOOL logIt,
                                                   VARIANT_BOOL popUp) override;
    HRESULT STDMETHODCALLTYPE GetItemInfo(BSTR* description, BSTR* componentVersion, BSTR* vendorURL, BSTR* helpURL,
                                          BSTR* about) override;

    // After the interface's members: only setup calls it.
    virtual HRESULT setCategoryFilter(unsigned long filter);

    // For the other parts of the object.
    // The CLSID of a ProgID: the registry's, else the selected item's CLSID text when
    // the ProgID is the item's. A ProgID neither knows is reported (owner hostWindow).
    HRESULT clsidForProgID(const wchar_t* progId, CLSID& clsid);
    // itemAlias, or itemProgID when there is no alias.
    std::string itemDisplayName() const;
    // The Component Manager looks the item (and its parent) up without being shown,
    // or shows it for information when show; its selection becomes the item fields.
    HRESULT loadItemInfo(bool show);
    // Host window owns the call's message boxes. The object keeps itself alive with
    // the returned reference until the method ends: a host that releases its last
    // reference from a nested message loop (a dialog, a box) does not free the object,
    // its dialog or its records under the running code.
    [[nodiscard]] ComPtr<IUnknown> enterMethod();
    // Successful end of ShowGUI, createComp and loadStorage: no owner, no error object.
    void leaveMethodOK();
    // The component's own editor (ICapeUtilities::Edit), offered by the property
    // package dialog's "Custom View" button. Packages of the maker's own property
    // system, and components without an editor, get the Custom View box instead;
    // a failing editor gets it with the failure's code. Never throws.
    HRESULT showCustomView() override;

protected:
    explicit CCCAPEGUI(IUnknown* outer);
    ~CCCAPEGUI() override;

    void finalRelease() override;

private:
    template <class T>
    friend HRESULT createComObject(IUnknown* outer, REFIID iid, void** out);
    // Tests arrange component state that later parts of the object will set.
    friend class CCCAPEGUITestAccess;

    HRESULT FinalConstruct();
    // The Component Manager's selection into the item fields; empties serverName.
    void readBackSelection(const ComponentSelection& selection);
    // The aliases of the item and its parent (setAlias, and every read-back of a
    // selection).
    void assignAliases(const std::string& item, const std::string& parentName);
    // The item's name with where it comes from: "name(from 'Manager.1')" or
    // "name(Standalone)" (getFullCOPPClassName, and ShowGUI's failure message).
    std::string fullPackageClassName() const;
    // A copy of the supported phase types into an out VARIANT (whatever it held is
    // not freed): VariantCopy's result.
    HRESULT copyPhaseTypesInto(VARIANT* out);
    // A flag option's getter and setter, each the boundary of the property method
    // name: VARIANT_TRUE for any non-zero option; the setter stores 0 or 1.
    HRESULT getFlagOption(const char* name, int PackageOptions::*option, VARIANT_BOOL* out);
    HRESULT putFlagOption(const char* name, int PackageOptions::*option, VARIANT_BOOL value);
    // Three flag options set or read in one method (setCompOptions and the like), each
    // the boundary of the method name: the setter keeps the values as passed, the
    // getter answers VARIANT_TRUE for any non-zero option and needs all three out pointers.
    using OptionTriple = std::array<int PackageOptions::*, 3>;
    HRESULT putOptionTriple(const char* name, const OptionTriple& options, VARIANT_BOOL first, VARIANT_BOOL second,
                            VARIANT_BOOL third);
    HRESULT getOptionTriple(const char* name, const OptionTriple& options, VARIANT_BOOL* first, VARIANT_BOOL* second,
                            VARIANT_BOOL* third);
    // The ShowGUI message for an unexpected failure, reported (code 100).
    void reportShowGUIFailure() noexcept;

    // What the property package dialog asks of its owner while it runs.
    std::string parentProgIdOfPackage() override;
    void copySupportedPhaseTypes(VariantHolder& out) override;
    void showStaticInfoView() override;
    // ICapeUtilities::Terminate when the object has it, then the object's release
    // (regardless of Terminate). A failure is reported as the termination of name and
    // returned.
    HRESULT terminateAndRelease(ComPtr<IDispatch>& object, const std::string& name);

    // Creation (Creation.cpp, CreationFromManager.cpp). Each reports its own failures
    // and returns the reported code; out is written on success only.
    // The component of progId, created locally or on serverName, that answers the
    // interface its category requires (expectedInterfaceIID); out holds that interface.
    HRESULT createValidatedComponent(const wchar_t* progId, unsigned long category, ComPtr<IDispatch>& out);
    // A 1.1 property package: from its manager when manager is not empty, else by its
    // own ProgID. Initialised; package is its IDispatch, parentOut the manager's
    // IDispatch (none without a manager).
    HRESULT createFromPackageManager(const wchar_t* package, const wchar_t* manager, ComPtr<IDispatch>& packageOut,
                                     ComPtr<IDispatch>& parentOut);
    // Its two sub-roads.
    HRESULT packageFromManager(const wchar_t* package, const wchar_t* manager, ComPtr<IDispatch>& packageOut,
                               ComPtr<IDispatch>& parentOut);
    HRESULT standalonePackage(const wchar_t* package, ComPtr<IDispatch>& packageOut);

    // Persistence (Persistence.cpp, PersistenceSupport.cpp).
    // The kept persistType when there is one; otherwise the component is asked, in
    // this order, for IPersistStorage, IPersistStreamInit and IPersistStream. A failing
    // question (other than E_NOINTERFACE) is raised (setComponent, getPersistType).
    PersistKind persistKind() const;
    // IPersistStorage::InitNew or IPersistStreamInit::InitNew by persistType; reported.
    HRESULT initNewComponent(IStorage* storage);
    // A component saved without a "CAPEOPEN" stream (the old mechanism) is initialised
    // as new, and the user told when warnings are on. S_OK, or the reported failure.
    HRESULT upgradeOldPersistence(IStorage* storage);
    // A raised persistence failure: to the host's container when there is one (and
    // traced), else to a box. name, when given, is appended for the host only.
    HRESULT reportPersistenceFailure(HRESULT code, const char* text, const char* name);

    HWND hostWindow = nullptr;
    bool warningsEnabled = true;
    PersistKind persistType = kPersistNone;
    ComPtr<ExtnContainer> container;
    bool isRecalling = false;
    // The last recall of the component failed: saving it would overwrite the state
    // it could not read, so saveStorage refuses until a recall or InitNew succeeds.
    bool documentUnread = false;
    unsigned long categoryFilter = catf_All;
    CQnBSTR serverName;  // shared with the copies made of it
    std::string itemCATID;
    std::string itemProgID;
    std::string parentProgID;
    std::string itemAlias;
    std::string parentAlias;
    std::string itemCOVersionText;
    std::string itemCLSIDText;
    std::string itemDescription;
    std::string itemComponentVersion;
    std::string itemVendorURL;
    std::string itemHelpURL;
    std::string itemAbout;
    long compCOversion = 0;  // 0 none, 100 for 1.0, 110 for 1.1, 1000 not supported
    VariantHolder supportedPhaseTypes;
    ComPtr<IDispatch> component;
    ComPtr<IDispatch> parent;
    // Whether createComp initialised them (the package road): then it also
    // terminates them when a later createComp replaces them.
    bool startedComponent = false;
    bool startedParent = false;
    std::unique_ptr<CCOTHConfig> packageDialog;  // lives as long as the object
    PackageOptions packageOptions;               // shown and edited by packageDialog
    bool thermoGUIEnabled = true;
    // One of the object's dialogs (Component Manager, package dialog) is running: a
    // second ShowGUI, ShowThermoGUI or showStaticInfo is refused meanwhile.
    bool dialogRunning = false;
    bool gatheringPackageData = false;  // setPPInfo reads the package's data
    bool persisting = false;            // saveStorage or loadStorage is calling the component
    // Refuses (reported, failure code) a method that would open a second dialog.
    HRESULT refuseWhileDialogRuns(const char* method);
    // Refuses (reported, failure code) a save or load from inside the component's own
    // Save or Load: the nested one would replace the elements the outer one writes.
    HRESULT refuseWhilePersisting(const char* method);
};
