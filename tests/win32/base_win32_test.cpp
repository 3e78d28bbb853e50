// The basics at the Win32 boundary against the real system: text converted
// into a code page, and the owners of GDI handles.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/ansi_text_win32.h"
#include "base/gdi_handles_win32.h"

namespace {

TEST(AnsiText, CharactersTheCodePageLacksBecomeQuestionMarksNeverLookAlikes) {
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  EXPECT_EQ(fader::ToAnsiCodePage(u"a\u4e00b"), "a?b");
  // Best fit would give "x = 5", "8", "l" and a real tag "<b>".
  EXPECT_EQ(fader::ToAnsiCodePage(u"x \u2264 5"), "x ? 5");
  EXPECT_EQ(fader::ToAnsiCodePage(u"A\u221eB\u0142C\uff1cD\u2264E"), "A?B?C?D?E");
  EXPECT_EQ(fader::ToAnsiCodePage(u"\uff1cb\uff1e"), "?b?");
  EXPECT_EQ(fader::ToAnsiCodePage(u"\u20ac\u00e9\u2022"), "\x80\xe9\x95");
  EXPECT_EQ(fader::ToAnsiCodePage(u""), "");
  const std::string nul = fader::ToAnsiCodePage(std::u16string(u"a\0b", 3));
  EXPECT_EQ(nul, std::string("a\0b", 3));
}

// Windows refuses WC_NO_BEST_FIT_CHARS for UTF-8 (Wine does not): a program on
// a system whose ANSI code page is UTF-8 must still convert every line.
TEST(AnsiText, Utf8CodePageGivesEveryCharacterItsBytes) {
  EXPECT_EQ(fader::ToCodePage(CP_UTF8, u"A\u221eB\u0142C"), "A\xe2\x88\x9e" "B\xc5\x82" "C");
  EXPECT_EQ(fader::ToCodePage(1252, u"A\u221eB"), "A?B");
}

// GetObjectType answers 0 for a handle that has been deleted.
TEST(GdiHandles, AHandleIsDeletedOnceItsOwnerLetsGoAndNotBefore) {
  HRGN first = CreateRectRgn(0, 0, 1, 1);
  HRGN second = CreateRectRgn(0, 0, 2, 2);
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(first && second && dc);
  {
    fader::Region a(first);
    fader::Region b(second);
    a = std::move(b);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(a.get(), second);
    EXPECT_EQ(b.get(), nullptr);
    a.reset(second);
    fader::Region& same = a;
    a = std::move(same);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_REGION));
    fader::MemoryDC owner(dc);
  }
  EXPECT_EQ(GetObjectType(second), 0u);
  EXPECT_EQ(GetObjectType(dc), 0u);
}

// A region handed to SetWindowRgn is released first: the system deletes it.
TEST(GdiHandles, AReleasedHandleOutlivesItsOwner) {
  HRGN kept = nullptr;
  {
    fader::Region region(CreateRectRgn(0, 0, 1, 1));
    kept = region.release();
    EXPECT_EQ(region.get(), nullptr);
  }
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_REGION));
  DeleteObject(kept);
}

}  // namespace
