// The samples' COM persistence: Tarnwick.Mixer through IPersistStreamInit,
// Tarnwick.Heater through IPersistStorage, the property packages through
// IPersistStream. A saved state comes back on load, and saving it again gives the
// same bytes.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "SampleObjects.h"
#include "SampleParameters.h"
#include "support/UniqueBstr.h"

using namespace samplestest;

namespace {

ComPtr<IStream> memoryStream()
{
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    return stream;
}

ComPtr<IStorage> memoryStorage()
{
    ComPtr<ILockBytes> bytes;
    ComPtr<IStorage> storage;
    if (SUCCEEDED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put())))
        StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                     storage.put());
    return storage;
}

std::vector<uint8_t> contentOf(IStream* stream)
{
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::vector<uint8_t> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return bytes;
}

std::vector<uint8_t> streamInStorage(IStorage* storage, const wchar_t* name)
{
    ComPtr<IStream> stream;
    if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        return {};
    return contentOf(stream.get());
}

void rename(const ComPtr<IUnknown>& object, const wchar_t* name, const wchar_t* description)
{
    auto identification = as<ICapeIdentification>(object, IID_ICapeIdentification);
    ASSERT_TRUE(identification);
    UniqueBstr n(name), d(description);
    ASSERT_EQ(S_OK, identification->put_ComponentName(n.get()));
    ASSERT_EQ(S_OK, identification->put_ComponentDescription(d.get()));
}

std::wstring nameOf(const ComPtr<IUnknown>& object, bool description = false)
{
    auto identification = as<ICapeIdentification>(object, IID_ICapeIdentification);
    UniqueBstr text;
    if (identification)
        description ? identification->get_ComponentDescription(text.put()) : identification->get_ComponentName(text.put());
    return text.text();
}

double parameter(const ComPtr<IUnknown>& object, const wchar_t* name)
{
    auto parameters = as<ISampleParameters>(object, IID_ISampleParameters);
    UniqueBstr n(name);
    double value = -1;
    if (parameters)
        parameters->GetParameter(n.get(), &value);
    return value;
}

void setParameter(const ComPtr<IUnknown>& object, const wchar_t* name, double value)
{
    auto parameters = as<ISampleParameters>(object, IID_ISampleParameters);
    ASSERT_TRUE(parameters);
    UniqueBstr n(name);
    ASSERT_EQ(S_OK, parameters->SetParameter(n.get(), value));
}

}  // namespace

TEST(SamplePersistence, MixerStateSurvivesAStreamRoundTripByteForByte)
{
    ComPtr<IUnknown> original = createByProgId(L"Tarnwick.Mixer");
    auto persist = as<IPersistStreamInit>(original, IID_IPersistStreamInit);
    ASSERT_TRUE(persist);
    ASSERT_EQ(S_OK, persist->InitNew());
    EXPECT_EQ(S_FALSE, persist->IsDirty()) << "a new mixer has nothing to save";
    rename(original, L"Mixer M-101", L"Blends the two feeds");
    setParameter(original, L"pressureDrop", 2500.0);
    EXPECT_EQ(S_OK, persist->IsDirty());
    ComPtr<IStream> first = memoryStream();
    ASSERT_EQ(S_OK, persist->Save(first.get(), TRUE));
    EXPECT_EQ(S_FALSE, persist->IsDirty()) << "Save with fClearDirty clears the dirty flag";
    ULARGE_INTEGER size{};
    ASSERT_EQ(S_OK, persist->GetSizeMax(&size));
    const std::vector<uint8_t> saved = contentOf(first.get());
    EXPECT_EQ(size.QuadPart, saved.size()) << "GetSizeMax tells the size of what Save writes";

    ComPtr<IUnknown> reloaded = createByProgId(L"Tarnwick.Mixer");
    auto reloadedPersist = as<IPersistStreamInit>(reloaded, IID_IPersistStreamInit);
    ASSERT_EQ(S_OK, reloadedPersist->Load(first.get()));
    EXPECT_EQ(L"Mixer M-101", nameOf(reloaded));
    EXPECT_EQ(L"Blends the two feeds", nameOf(reloaded, true));
    EXPECT_DOUBLE_EQ(2500.0, parameter(reloaded, L"pressureDrop"));
    EXPECT_EQ(E_UNEXPECTED, reloadedPersist->InitNew()) << "a loaded mixer refuses to be initialised again";

    ComPtr<IStream> second = memoryStream();
    ASSERT_EQ(S_OK, reloadedPersist->Save(second.get(), TRUE));
    EXPECT_EQ(saved, contentOf(second.get())) << "saving the reloaded state writes the same bytes";
}

TEST(SamplePersistence, MixerRefusesACorruptStreamAndKeepsItsState)
{
    ComPtr<IUnknown> mixer = createByProgId(L"Tarnwick.Mixer");
    auto persist = as<IPersistStreamInit>(mixer, IID_IPersistStreamInit);
    ASSERT_EQ(S_OK, persist->InitNew());
    rename(mixer, L"Kept", L"Kept too");
    ComPtr<IStream> good = memoryStream();
    ASSERT_EQ(S_OK, persist->Save(good.get(), FALSE));
    const std::vector<uint8_t> bytes = contentOf(good.get());

    std::vector<uint8_t> wrongMagic = bytes;
    wrongMagic[0] ^= 0xFF;
    std::vector<uint8_t> truncated(bytes.begin(), bytes.end() - 3);
    std::vector<uint8_t> hugeText = bytes;
    hugeText[8] = hugeText[9] = hugeText[10] = hugeText[11] = 0xFF;  // the name's length
    for (const auto& damaged : {wrongMagic, truncated, hugeText}) {
        ComPtr<IStream> stream = memoryStream();
        ULONG written = 0;
        stream->Write(damaged.data(), static_cast<ULONG>(damaged.size()), &written);
        LARGE_INTEGER start{};
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        EXPECT_TRUE(FAILED(persist->Load(stream.get()))) << "damaged data should be refused";
        auto support = as<ISupportErrorInfo>(mixer, IID_ISupportErrorInfo);
        EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IPersistStreamInit));
        EXPECT_FALSE(errorDescription().empty()) << "with an error object";
        EXPECT_EQ(L"Kept", nameOf(mixer)) << "a refused load changes nothing";
    }
}

TEST(SamplePersistence, HeaterStateSurvivesAStorageRoundTripByteForByte)
{
    ComPtr<IUnknown> original = createByProgId(L"Tarnwick.Heater");
    auto persist = as<IPersistStorage>(original, IID_IPersistStorage);
    ASSERT_TRUE(persist);
    ComPtr<IStorage> storage = memoryStorage();
    ASSERT_TRUE(storage);
    ASSERT_EQ(S_OK, persist->InitNew(storage.get()));
    EXPECT_EQ(CO_E_ALREADYINITIALIZED, persist->InitNew(storage.get()));
    rename(original, L"Heater E-201", L"Preheats the feed");
    setParameter(original, L"outletTemperature", 423.15);
    setParameter(original, L"pressureDrop", 1.5e4);
    ASSERT_EQ(S_OK, persist->Save(storage.get(), TRUE));
    ASSERT_EQ(S_OK, persist->SaveCompleted(nullptr));
    ASSERT_EQ(S_OK, storage->Commit(STGC_DEFAULT));
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    CLSID written{};
    ASSERT_EQ(S_OK, ReadClassStg(storage.get(), &written));
    CLSID heater{};
    persist->GetClassID(&heater);
    EXPECT_TRUE(written == heater) << "the storage carries the heater's class";

    ComPtr<IUnknown> reloaded = createByProgId(L"Tarnwick.Heater");
    auto reloadedPersist = as<IPersistStorage>(reloaded, IID_IPersistStorage);
    ASSERT_EQ(S_OK, reloadedPersist->Load(storage.get()));
    EXPECT_EQ(L"Heater E-201", nameOf(reloaded));
    EXPECT_EQ(L"Preheats the feed", nameOf(reloaded, true));
    EXPECT_DOUBLE_EQ(423.15, parameter(reloaded, L"outletTemperature"));
    EXPECT_DOUBLE_EQ(1.5e4, parameter(reloaded, L"pressureDrop"));

    ComPtr<IStorage> copy = memoryStorage();
    ASSERT_EQ(S_OK, reloadedPersist->Save(copy.get(), FALSE));
    ASSERT_EQ(S_OK, reloadedPersist->SaveCompleted(nullptr));
    const auto before = streamInStorage(storage.get(), L"HeaterState");
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(before, streamInStorage(copy.get(), L"HeaterState")) << "the same bytes";
    ASSERT_EQ(S_OK, reloadedPersist->HandsOffStorage());
    ASSERT_EQ(S_OK, persist->HandsOffStorage());
}

TEST(SamplePersistence, HeaterLoadFromAStorageWithoutItsStateFails)
{
    ComPtr<IUnknown> heater = createByProgId(L"Tarnwick.Heater");
    auto persist = as<IPersistStorage>(heater, IID_IPersistStorage);
    ComPtr<IStorage> empty = memoryStorage();
    EXPECT_EQ(STG_E_FILENOTFOUND, persist->Load(empty.get()));
    EXPECT_EQ(L"Tarnwick.Heater", nameOf(heater)) << "the heater keeps its defaults";
    EXPECT_EQ(S_OK, persist->InitNew(empty.get())) << "a failed load leaves the heater uninitialised";
}

TEST(SamplePersistence, PackagesSurviveAStreamRoundTripByteForByte)
{
    const std::pair<ComPtr<IUnknown>, ComPtr<IUnknown>> pairs[] = {
        {createByProgId(L"Lindqvarn.PropertyPackage"), createByProgId(L"Lindqvarn.PropertyPackage")},
        {managerPackage(L"Aromatics"), managerPackage(L"Aromatics")},
    };
    for (const auto& [original, reloaded] : pairs) {
        auto persist = as<IPersistStream>(original, IID_IPersistStream);
        ASSERT_TRUE(persist);
        rename(original, L"Column thermo", L"Used for the column section");
        EXPECT_EQ(S_OK, persist->IsDirty());
        ComPtr<IStream> first = memoryStream();
        ASSERT_EQ(S_OK, persist->Save(first.get(), TRUE));
        ULARGE_INTEGER size{};
        ASSERT_EQ(S_OK, persist->GetSizeMax(&size));
        const auto saved = contentOf(first.get());
        EXPECT_EQ(size.QuadPart, saved.size());

        auto reloadedPersist = as<IPersistStream>(reloaded, IID_IPersistStream);
        ASSERT_EQ(S_OK, reloadedPersist->Load(first.get()));
        EXPECT_EQ(L"Column thermo", nameOf(reloaded));
        EXPECT_EQ(L"Used for the column section", nameOf(reloaded, true));
        ComPtr<IStream> second = memoryStream();
        ASSERT_EQ(S_OK, reloadedPersist->Save(second.get(), TRUE));
        EXPECT_EQ(saved, contentOf(second.get()));
    }
}
