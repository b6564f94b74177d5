// The handle owners release exactly once and hand over ownership on move.
#include "common/win/handles.h"

#include <gtest/gtest.h>

namespace {

bool HandleOpen(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

TEST(Handles, UniqueHandleClosesOnceAndMoves) {
    HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        lx::UniqueHandle first(raw);
        lx::UniqueHandle second(std::move(first));
        EXPECT_FALSE(first.Valid());
        EXPECT_EQ(raw, second.Get());
        EXPECT_TRUE(HandleOpen(raw));
    }
    EXPECT_FALSE(HandleOpen(raw));

    lx::UniqueHandle kept(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE released = kept.Release();
    kept.Reset();
    EXPECT_TRUE(HandleOpen(released));
    ::CloseHandle(released);
    // INVALID_HANDLE_VALUE (a failed CreateFile) is not closed.
    lx::UniqueHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.Valid());
}

TEST(Handles, MenuIsDestroyedOnceUnlessAWindowTookIt) {
    HMENU raw = ::CreatePopupMenu();
    ASSERT_NE(nullptr, raw);
    {
        lx::Menu first(raw);
        lx::Menu second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_TRUE(::IsMenu(raw));
    }
    EXPECT_FALSE(::IsMenu(raw));

    lx::Menu handed(::CreateMenu());
    HMENU kept = handed.Release(); // what the frame does once its window holds the menu
    EXPECT_TRUE(::IsMenu(kept));
    lx::Menu again(kept);
}

TEST(Handles, GlobalMemoryKeepsABlockResetToItself) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 64);
    ASSERT_NE(nullptr, block);
    lx::GlobalMemory owner(block);
    owner.Reset(block); // a dialog may hand the same block back
    EXPECT_EQ(block, owner.Get());
    EXPECT_NE(0u, ::GlobalSize(block));
    HGLOBAL other = ::GlobalAlloc(GMEM_MOVEABLE, 32);
    owner.Reset(other);
    EXPECT_EQ(other, owner.Get());
}

TEST(Handles, SelectGuardPutsThePreviousObjectBack) {
    lx::MemoryDC dc(nullptr);
    ASSERT_NE(nullptr, dc.Get());
    HGDIOBJ before = ::GetCurrentObject(dc.Get(), OBJ_FONT);
    lx::Font font(::CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    ASSERT_TRUE(font);
    {
        lx::SelectGuard select(dc.Get(), font.Get());
        EXPECT_EQ(font.Get(), ::GetCurrentObject(dc.Get(), OBJ_FONT));
    }
    EXPECT_EQ(before, ::GetCurrentObject(dc.Get(), OBJ_FONT));
}

TEST(Handles, RegKeyTellsWhetherTheKeyExisted) {
    const char* path = "Software\\Quorbit\\LorvexHandleTest";
    ::RegDeleteKeyA(HKEY_CURRENT_USER, path);
    bool existed = true;
    {
        lx::RegKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, &existed));
        EXPECT_FALSE(existed);
        key.Flush();
    }
    {
        lx::RegKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, &existed));
        EXPECT_TRUE(existed);
    }
    EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteKeyA(HKEY_CURRENT_USER, path));
}

} // namespace
