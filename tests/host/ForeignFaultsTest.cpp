// Every call the library makes into a component or the host's container, made to go
// wrong each way careless code does: the host lives on, nothing is released that was
// not handed over, no failure comes back as success, no saved byte is lost.
#include "HostFixture.h"

#include <map>

#include "testkit/CapeDoubles.h"

using namespace testkit;

namespace {

// Where a call is made: in a unit's life in a document (created, saved, loaded,
// released), in a package's (created by its manager, its data read, released), or at
// a position of the container's message chain while a failing save is reported.
enum class Road { Unit, Package, Manager, Chain };

struct Site {
    const char* call;
    Road road;
    const char* method;  // the host's method whose result must show a failure
};

const Site kSites[] = {
    {"Save", Road::Unit, "saveStorage"}, {"Load", Road::Unit, "loadStorage"}, {"InitNew", Road::Unit, "loadStorage as new"},
    {"Terminate", Road::Unit, "releaseComponents"}, {"GetPropertyPackage", Road::Manager, "createComp"},
    {"Initialize", Road::Package, "createComp"}, {"GetNumPhases", Road::Package, "setPPInfo"},
    {"GetPhaseList", Road::Package, "setPPInfo"}, {"GetPhaseInfo", Road::Package, "setPPInfo"},
    {"GetCompoundList", Road::Package, "setPPInfo"}, {"GetConstPropList", Road::Package, "setPPInfo"},
    {"GetSinglePhasePropList", Road::Package, "setPPInfo"}, {"GetTwoPhasePropList", Road::Package, "setPPInfo"},
    {"11", Road::Chain, nullptr}, {"33", Road::Chain, nullptr}, {"21", Road::Chain, nullptr}};
const Misbehaviour kAllWays[] = {Misbehaviour::LeavesObject, Misbehaviour::FailsSilently, Misbehaviour::CallsBack,
                                 Misbehaviour::Throws,       Misbehaviour::Crashes,       Misbehaviour::WrongVariant};

bool fails(Misbehaviour how) { return how != Misbehaviour::CallsBack && how != Misbehaviour::WrongVariant; }

class ForeignFaults : public Host, public ::testing::WithParamInterface<std::tuple<Site, Misbehaviour>> {
protected:
    // The host's methods along the site's road, each result under its name; the road
    // stops where the host has let go of the object.
    std::map<std::string, HRESULT> travel(const Site& site, const Misbehaving& m)
    {
        const bool chain = site.road == Road::Chain;
        auto prepare = [&](auto& double_) {
            double_.refuse(IID_IPersistStorage);  // a stream-based unit: the library writes the document
            if (chain)  // the persistence cannot be learnt: a failure handed to the container
                double_.refuse(IID_IPersistStreamInit, E_UNEXPECTED);
            else
                double_.misbehave(site.call, m);
        };
        if (chain)
            container->misbehaving[std::stoi(site.call)] = m;
        const bool unit = chain || site.road == Road::Unit;
        ServedClass served(unit ? ClassRegistration{"QnTest.Faulty", {kUnitCatid}, {{"CapeVersion", "1.1"}}}
                                : ClassRegistration{"QnTest.FaultyManager", {kManagerCatid}, {}},
                           unit ? creatorOf<UnitDouble>([&](UnitDouble& made) { prepare(made); })
                                : creatorOf<ManagerDouble>([&](ManagerDouble& made) {
                                      if (site.road == Road::Manager)
                                          made.misbehave(site.call, m);
                                      else
                                          made.preparePackage = [&](PackageDouble& package) { prepare(package); };
                                  }));
        std::map<std::string, HRESULT> results;
        auto call = [&](const char* name, auto&& method) {
            if (gui)
                results[name] = method();
        };
        call("setup", [&] { return gui->setup(window.handle(), container->asDispatch(), unit ? 32 : 1536); });
        call("setProgIds", [&] {
            return unit ? gui->setProgIds(UniqueBstr(served.progIdW().c_str()).get(), nullptr)
                        : gui->setProgIds(UniqueBstr(L"Only Package").get(), UniqueBstr(served.progIdW().c_str()).get());
        });
        ComPtr<IDispatch> component, parent;
        call("createComp", [&] { return gui->createComp(component.put(), parent.put()); });
        if (component)
            call("setComponent", [&] { return gui->setComponent(component.detach()); });
        call(unit ? "saveStorage" : "setPPInfo",
             [&] { return unit ? gui->saveStorage() : gui->setPPInfo(nullptr, nullptr, nullptr); });
        call("loadStorage", [&] { return gui->loadStorage(VARIANT_TRUE); });
        call("loadStorage as new", [&] { return gui->loadStorage(VARIANT_FALSE); });
        call("releaseComponents", [&] { return gui->releaseComponents(); });
        gui = nullptr;
        return results;
    }

    ComPtr<HostContainer> container = makeDouble<HostContainer>();
    ComPtr<ICCAPEGUI> gui = libraryObject(32);
    MessageBoxDriver boxes{IDOK};
};

TEST_P(ForeignFaults, LeaveTheHostRunningAndLoseNothing)
{
    const auto& [site, how] = GetParam();
    struct Leftover : ComDouble<IDispatch> {};
    ComPtr<Leftover> leftover = makeDouble<Leftover>();
    container->saved(L"CAPEOPEN", "saved before");
    // The host calls back from inside the call (once: the nested calls find no object):
    // it saves and loads, releases the components and lets go of the object, which
    // must live until its own method returns.
    const Misbehaving misbehaving{how, leftover->unknown(), [&] {
                                           if (ComPtr<ICCAPEGUI> host = std::move(gui))
                                               host->saveStorage(), host->loadStorage(VARIANT_TRUE),
                                                   host->releaseComponents();
                                       }};
    const auto results = travel(site, misbehaving);
    EXPECT_GT(*misbehaving.calls, 0) << "the road reaches " << site.call;
    EXPECT_TRUE(!site.method || !fails(how) || !results.contains(site.method) || FAILED(results.at(site.method)))
        << site.method << " reports the failure inside " << site.call;
    const bool callsBackPersisting = how == Misbehaviour::CallsBack && site.road == Road::Unit && site.call[0] != 'T';
    EXPECT_TRUE(!callsBackPersisting || boxes.count() == 2) << "the save and load inside the component's are refused";
    EXPECT_EQ(leftover->references(), 1u) << "what a failed call left in its out slot is neither used nor released";
    const bool saveFailed = (std::string(site.call) == "Save" && fails(how)) || site.road == Road::Chain;
    const std::string saved = container->streamNow(L"CAPEOPEN");
    EXPECT_TRUE(saved == "saved before" || (saved == "component data" && !saveFailed))
        << "the document holds the last good save, whole: '" << saved << "'";
    leftover = nullptr;
    container = nullptr;
    EXPECT_EQ(liveDoubles(), 0) << "every double is released";
}

std::string rowName(const ::testing::TestParamInfo<std::tuple<Site, Misbehaviour>>& info)
{
    const auto& [site, how] = info.param;
    static const char* const ways[] = {"LeavesObject", "FailsSilently", "CallsBack", "Throws", "Crashes", "WrongVariant"};
    return (site.road == Road::Chain ? "Position" : "") + std::string(site.call) +
           (site.road == Road::Package ? "OfPackage" : "") + ways[int(how)];
}

INSTANTIATE_TEST_SUITE_P(Host, ForeignFaults,
                         ::testing::Combine(::testing::ValuesIn(kSites), ::testing::ValuesIn(kAllWays)), rowName);

}  // namespace
