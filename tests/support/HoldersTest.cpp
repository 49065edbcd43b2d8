#include <gtest/gtest.h>

#include <string>

#include "CountingObject.h"
#include "TaskMemoryCounter.h"
#include "support/RegKey.h"
#include "support/UniqueBstr.h"
#include "support/UniqueHandle.h"
#include "support/VariantHolder.h"

TEST(UniqueBstr, FreesItsTextOnDestructionResetAndPut)
{
    TaskMemoryCounter memory;
    if (!memory.bstrsAreCounted())
        GTEST_SKIP() << "the BSTR cache hides frees (run with OANOCACHE=1)";
    const long before = memory.live();
    {
        UniqueBstr held(L"abc");
        EXPECT_EQ(held.text(), L"abc");
        EXPECT_EQ(memory.live(), before + 1);
    }
    EXPECT_EQ(memory.live(), before) << "destruction frees the text";

    UniqueBstr held(L"first");
    BSTR* slot = held.put();
    EXPECT_EQ(memory.live(), before) << "put frees what was held";
    EXPECT_EQ(*slot, nullptr) << "and hands out an empty slot";
    *slot = SysAllocString(L"second");
    held.reset(held.get());
    EXPECT_EQ(held.text(), L"second") << "resetting to the text held keeps it";
    held.reset();
    EXPECT_EQ(memory.live(), before) << "reset frees";
}

TEST(UniqueBstr, DetachAndMoveHandTheTextOver)
{
    UniqueBstr held(L"abc");
    BSTR raw = held.get();
    UniqueBstr moved = std::move(held);
    EXPECT_EQ(held.get(), nullptr) << "the source of a move is empty";
    EXPECT_EQ(moved.get(), raw) << "the text itself moved, not a copy";
    held = std::move(moved);
    EXPECT_EQ(held.get(), raw);

    UniqueBstr adopted = UniqueBstr::attach(held.detach());
    EXPECT_EQ(held.get(), nullptr) << "detach leaves the holder empty";
    EXPECT_EQ(adopted.get(), raw) << "and gives the text to the caller";
    EXPECT_EQ(UniqueBstr(nullptr).get(), nullptr) << "no text, no allocation";
}

TEST(VariantHolder, ClearsOnDestructionAndPut)
{
    CountingObject object;
    {
        VariantHolder held;
        V_VT(&held) = VT_UNKNOWN;
        V_UNKNOWN(&held) = &object;
        object.AddRef();
    }
    EXPECT_EQ(object.refs, 0u) << "destruction clears the VARIANT";

    VariantHolder held;
    V_VT(&held) = VT_UNKNOWN;
    V_UNKNOWN(&held) = &object;
    object.AddRef();
    VARIANT* slot = held.put();
    EXPECT_EQ(object.refs, 0u) << "put clears what was held";
    EXPECT_EQ(V_VT(slot), VT_EMPTY);
}

TEST(VariantHolder, DetachAndMoveHandTheContentOver)
{
    CountingObject object;
    VariantHolder held;
    V_VT(&held) = VT_UNKNOWN;
    V_UNKNOWN(&held) = &object;
    object.AddRef();

    VariantHolder moved = std::move(held);
    EXPECT_EQ(V_VT(&held), VT_EMPTY) << "the source of a move is empty";
    EXPECT_EQ(V_UNKNOWN(&moved), &object);
    VariantHolder target;
    V_VT(&target) = VT_UNKNOWN;
    V_UNKNOWN(&target) = &object;
    object.AddRef();
    target = std::move(moved);
    EXPECT_EQ(object.refs, 1u) << "move assignment clears the target's old content";

    VARIANT raw = target.detach();
    EXPECT_EQ(V_VT(&target), VT_EMPTY) << "detach leaves the holder empty";
    EXPECT_EQ(object.refs, 1u) << "and the caller owns the content";
    VariantClear(&raw);
    EXPECT_EQ(object.refs, 0u);
}

namespace {
// A volatile key of its own under HKEY_CURRENT_USER, deleted afterwards.
class ScratchKey {
public:
    ScratchKey() : path_("Software\\QnCOGUI11Tests\\Holders" + std::to_string(GetCurrentProcessId())) {}
    ~ScratchKey() { RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str()); }
    HKEY* open(HKEY* slot) const
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_READ, nullptr,
                        slot, nullptr);
        return slot;
    }

private:
    std::string path_;
};

bool keyIsOpen(HKEY key)
{
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
}  // namespace

TEST(RegKey, ClosesOnDestructionPutAndReset)
{
    ScratchKey scratch;
    HKEY raw = nullptr;
    {
        RegKey key;
        scratch.open(key.put());
        raw = key.get();
        ASSERT_TRUE(keyIsOpen(raw)) << "the scratch key opened";
    }
    EXPECT_FALSE(keyIsOpen(raw)) << "destruction closes the key";

    RegKey key;
    scratch.open(key.put());
    raw = key.get();
    HKEY* slot = key.put();
    EXPECT_FALSE(keyIsOpen(raw)) << "put closes what was held";
    EXPECT_EQ(*slot, nullptr);
    scratch.open(slot);
    raw = key.get();
    key.reset();
    EXPECT_FALSE(keyIsOpen(raw)) << "reset closes";
    EXPECT_FALSE(key);
}

TEST(RegKey, MoveHandsTheKeyOver)
{
    ScratchKey scratch;
    RegKey key;
    scratch.open(key.put());
    HKEY raw = key.get();
    RegKey moved = std::move(key);
    EXPECT_FALSE(key) << "the source of a move is empty";
    EXPECT_EQ(moved.get(), raw);
    EXPECT_TRUE(keyIsOpen(raw)) << "a move closes nothing";

    RegKey target;
    scratch.open(target.put());
    HKEY replaced = target.get();
    target = std::move(moved);
    EXPECT_FALSE(keyIsOpen(replaced)) << "move assignment closes the target's old key";
    EXPECT_TRUE(keyIsOpen(raw));
}

namespace {
bool handleIsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}
}  // namespace

TEST(UniqueHandle, ClosesOnDestructionAndReset)
{
    HANDLE raw = nullptr;
    {
        UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        raw = event.get();
        ASSERT_TRUE(handleIsOpen(raw));
    }
    EXPECT_FALSE(handleIsOpen(raw)) << "destruction closes the handle";

    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    raw = event.get();
    event.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(handleIsOpen(raw)) << "reset closes the old handle";
    EXPECT_TRUE(handleIsOpen(event.get())) << "and keeps the new one";
}

TEST(UniqueHandle, ReleaseAndMoveHandTheHandleOver)
{
    UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = event.get();
    UniqueHandle moved = std::move(event);
    EXPECT_FALSE(event) << "the source of a move is empty";
    EXPECT_EQ(moved.get(), raw);

    HANDLE released = moved.release();
    EXPECT_FALSE(moved) << "release empties the holder";
    EXPECT_TRUE(handleIsOpen(released)) << "and the caller owns the open handle";
    UniqueHandle readopted(released);
}

TEST(UniqueHandle, FilesAndGdiObjectsUseTheirOwnEmptyValueAndCloser)
{
    EXPECT_FALSE(UniqueFile(INVALID_HANDLE_VALUE)) << "INVALID_HANDLE_VALUE is no file";
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "qn-holders-" + std::to_string(GetCurrentProcessId());
    {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_TRUE(file);
        EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "closing deleted the file";

    HGDIOBJ raw = nullptr;
    {
        UniqueGdiObject brush(CreateSolidBrush(RGB(1, 2, 3)));
        raw = brush.get();
        ASSERT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(raw), 0u) << "destruction deleted the brush";
}
