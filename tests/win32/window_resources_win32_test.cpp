// The program file mírtáné.exe beside the tests: its version information,
// its icon resources and its manifest; and the icon frmFade shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fader_version.h"
#include "tests/win32/window_test_support_win32.h"

namespace fader::test {
namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"m\u00EDrt\u00E1n\u00E9.exe";
}

// The version as CMakeLists.txt's project() line gives it.
const std::string kVersion = FADER_VERSION;
constexpr DWORD kVersionMs = (FADER_VERSION_MAJOR << 16) | FADER_VERSION_MINOR;
constexpr DWORD kVersionLs = FADER_VERSION_PATCH << 16;

class ProgramFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = ProgramPath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version information in the program file";
    info_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info_.data()));
  }

  std::u16string String(const wchar_t* name) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(info_.data(), key.c_str(), reinterpret_cast<void**>(&value), &len) || !value) {
      return u"<missing>";
    }
    return U16(value);
  }

  std::vector<char> info_;
};

TEST_F(ProgramFile, VersionIsTheProjectsForAnApplicationFor32BitWindows) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(info_.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
  ASSERT_GE(len, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, kVersionMs);
  EXPECT_EQ(fixed->dwFileVersionLS, kVersionLs);
  EXPECT_EQ(fixed->dwProductVersionMS, kVersionMs);
  EXPECT_EQ(fixed->dwProductVersionLS, kVersionLs);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
}

TEST_F(ProgramFile, StringsAreUsEnglishUnicodeWithTheProgramsNames) {
  WORD* translation = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(info_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &len));
  ASSERT_EQ(len, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
  const std::u16string version(kVersion.begin(), kVersion.end());
  EXPECT_EQ(String(L"FileVersion"), version);
  EXPECT_EQ(String(L"ProductVersion"), version);
  EXPECT_EQ(String(L"CompanyName"), u"grelvin");
  EXPECT_EQ(String(L"ProductName"), u"m\u00EDrt\u00E1n\u00E9");
  EXPECT_EQ(String(L"InternalName"), u"m\u00EDrt\u00E1n\u00E9");
  EXPECT_EQ(String(L"FileDescription"), u"m\u00EDrt\u00E1n\u00E9");
  EXPECT_EQ(String(L"OriginalFilename"), u"m\u00EDrt\u00E1n\u00E9.exe");
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  const BYTE* Resource(int id, const wchar_t* type, DWORD* size) {
    HRSRC r = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!r) return nullptr;
    *size = SizeofResource(module_, r);
    return static_cast<const BYTE*>(LockResource(LoadResource(module_, r)));
  }
  HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, IconGroup1HoldsIcon30001Of32By32With256ColoursAndAMask) {
  DWORD size = 0;
  const BYTE* group = Resource(1, RT_GROUP_ICON, &size);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, 32, 32, LR_DEFAULTCOLOR), 30001);
  const BYTE* image = Resource(30001, RT_ICON, &size);
  ASSERT_NE(image, nullptr);
  BITMAPINFOHEADER bih;
  memcpy(&bih, image, sizeof(bih));
  EXPECT_EQ(bih.biWidth, 32);
  EXPECT_EQ(bih.biHeight, 64);  // colour rows and mask rows
  EXPECT_EQ(bih.biBitCount, 8);
  EXPECT_EQ(size, sizeof(bih) + 256 * 4 + 32 * 32 + 32 * 4);
  // The mask clears the corners' outside and keeps the middle.
  const BYTE* mask = image + sizeof(bih) + 256 * 4 + 32 * 32;  // bottom-up rows of 4 bytes
  EXPECT_TRUE(mask[31 * 4] & 0x40);   // top row, second pixel: transparent
  EXPECT_FALSE(mask[16 * 4 + 2] & 0x80);  // the centre: opaque
}

TEST_F(ProgramResources, ManifestNamesTheProgramAtTheProjectsVersionAwareOfEachMonitorsDpi) {
  DWORD size = 0;
  const BYTE* manifest = Resource(1, MAKEINTRESOURCEW(24), &size);
  ASSERT_NE(manifest, nullptr);
  const std::string text(reinterpret_cast<const char*>(manifest), size);
  // The program's own identity is the first; the common controls' follows.
  const auto identity = text.find("<assemblyIdentity ");
  ASSERT_NE(identity, std::string::npos);
  const std::string tag = text.substr(identity, text.find("/>", identity) - identity);
  EXPECT_NE(tag.find(R"(name="grelvin.mirtane")"), std::string::npos) << tag;
  EXPECT_NE(tag.find(R"( version=")" + kVersion + R"(.0")"), std::string::npos) << tag;
  EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
  EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
}

TEST_F(FrmFadeTest, WindowIconIsTheProgramIconAt32By32) {
  HICON icon = form().Icon();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(form().hWnd(), WM_GETICON, ICON_BIG, 0)), icon);
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(icon, &ii));
  BITMAP bm{};
  GetObjectW(ii.hbmColor, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);
  ASSERT_NE(ii.hbmMask, nullptr);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  // The program file's own icon loads at the same size.
  HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  HICON loaded = static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(loaded, nullptr);
  if (loaded) DestroyIcon(loaded);
  FreeLibrary(program);
}

}  // namespace
}  // namespace fader::test
