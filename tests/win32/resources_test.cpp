// Colfix.exe's resources as Windows reads them: the version block through
// GetFileVersionInfo/VerQueryValue (and, to see that no other field is there,
// its raw tree), the icon group with its six images, the largest read by
// Windows from its PNG, and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "colfix_app.h"

namespace colfix::wintest {
namespace {

std::vector<std::wstring> ExesToCheck() {
  std::vector<std::wstring> exes{colfixExe};
  if (!shippedExe.empty()) exes.push_back(shippedExe);
  return exes;
}

// The file loaded as data, for its resources.
HMODULE ResourcesOf(const std::wstring& exe) {
  return LoadLibraryExW(exe.c_str(), nullptr,
                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

std::vector<BYTE> VersionBlock(const std::wstring& exe) {
  DWORD ignored = 0;
  std::vector<BYTE> block(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  if (block.empty() ||
      !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
    return {};
  }
  return block;
}

std::wstring StringValue(std::vector<BYTE>& block, const std::wstring& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length)) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

// One node of the version resource's tree: its key and its children's keys.
struct VersionNode {
  std::wstring key;
  std::vector<VersionNode> children;
};

std::size_t AlignDword(std::size_t offset) {
  return (offset + 3) & ~std::size_t{3};
}

VersionNode ParseNode(const BYTE* data, std::size_t start, std::size_t& end) {
  WORD length, valueLength, type;
  std::memcpy(&length, data + start, 2);
  std::memcpy(&valueLength, data + start + 2, 2);
  std::memcpy(&type, data + start + 4, 2);
  VersionNode node;
  std::size_t offset = start + 6;
  for (wchar_t c; std::memcpy(&c, data + offset, 2), offset += 2, c != L'\0';) node.key += c;
  offset = AlignDword(offset) + (type == 1 ? valueLength * 2u : valueLength);
  end = start + length;
  for (offset = AlignDword(offset); offset < end; offset = AlignDword(offset)) {
    std::size_t childEnd = 0;
    node.children.push_back(ParseNode(data, offset, childEnd));
    offset = childEnd;
  }
  return node;
}

TEST(Resources, VersionBlockHasExactlyTheFieldsAndValues) {
  for (const std::wstring& exe : ExesToCheck()) {
    SCOPED_TRACE(testing::PrintToString(exe));
    std::vector<BYTE> block = VersionBlock(exe);
    ASSERT_FALSE(block.empty()) << "no version block";

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);  // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u) << "exactly one language";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    const std::map<std::wstring, std::wstring> expected = {
        {L"FileVersion", L"1.00"},
        {L"ProductVersion", L"1.00"},
        {L"ProductName", L"Colfix"},
        {L"InternalName", L"Colfix"},
        {L"OriginalFilename", L"Colfix.exe"},
    };
    for (const auto& [name, value] : expected)
      EXPECT_EQ(StringValue(block, name), value) << testing::PrintToString(name);

    // Nothing else: one string table, holding these five fields only.
    std::size_t end = 0;
    const VersionNode root = ParseNode(block.data(), 0, end);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode& strings = root.children[0];
    EXPECT_EQ(strings.key, L"StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    EXPECT_EQ(strings.children[0].key, L"040904B0");
    std::map<std::wstring, std::wstring> found;
    for (const VersionNode& field : strings.children[0].children)
      found[field.key] = StringValue(block, field.key);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(root.children[1].key, L"VarFileInfo");
  }
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
  return TRUE;
}

TEST(Resources, OneIconGroupOfSixImagesInOrder) {
  struct Image {
    int size, bits;
  };
  // 256-colour palettes with masks first, then 32-bit images with alpha.
  constexpr std::array<Image, 6> kImages = {
      {{32, 8}, {16, 8}, {128, 32}, {48, 32}, {32, 32}, {16, 32}}};
  for (const std::wstring& exe : ExesToCheck()) {
    SCOPED_TRACE(testing::PrintToString(exe));
    HMODULE module = ResourcesOf(exe);
    ASSERT_NE(module, nullptr);
    std::vector<ULONG_PTR> groups;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, &CollectName,
                       reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_EQ(groups, std::vector<ULONG_PTR>{1}) << "one icon, the executable's";

    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    WORD count = 0;
    std::memcpy(&count, group + 4, 2);
    ASSERT_EQ(count, kImages.size());
    for (std::size_t i = 0; i < kImages.size(); ++i) {
      IconGroupEntry entry;
      std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
      SCOPED_TRACE("image " + std::to_string(i));
      EXPECT_EQ(entry.width, kImages[i].size);
      EXPECT_EQ(entry.height, kImages[i].size);
      EXPECT_EQ(entry.bitCount, kImages[i].bits);
      EXPECT_NE(
          FindResourceW(module, MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3) /* RT_ICON */),
          nullptr);
    }
    FreeLibrary(module);
  }
}

TEST(Resources, Windows128PixelIconKeptAsAPngHasItsTransparency) {
  constexpr int kSize = 128;
  for (const std::wstring& exe : ExesToCheck()) {
    SCOPED_TRACE(testing::PrintToString(exe));
    HMODULE module = ResourcesOf(exe);
    ASSERT_NE(module, nullptr);
    HICON icon =
        static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, kSize, kSize, 0));
    ASSERT_NE(icon, nullptr) << "Windows could not read the image";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB};
    std::vector<DWORD> pixels(kSize * kSize);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, info.hbmColor, 0, kSize, pixels.data(), &format, DIB_RGB_COLORS),
              kSize);
    ReleaseDC(nullptr, screen);
    std::map<std::string, int> alphas;
    for (const DWORD pixel : pixels) {
      const DWORD alpha = pixel >> 24;
      ++alphas[alpha == 0 ? "clear" : alpha == 255 ? "solid" : "partial"];
    }
    EXPECT_GT(alphas["clear"], 0) << "the ground shows through";
    EXPECT_GT(alphas["solid"], kSize * kSize / 8) << "the tools are drawn";
    EXPECT_GT(alphas["partial"], 0) << "edges are smoothed";
    for (const int corner : {0, kSize - 1, kSize * (kSize - 1), kSize * kSize - 1})
      EXPECT_EQ(pixels[static_cast<std::size_t>(corner)] >> 24, 0u) << "corner " << corner;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    FreeLibrary(module);
  }
}

TEST(Resources, ManifestAsksForCommonControls6PerMonitorDpiAndNoElevation) {
  for (const std::wstring& exe : ExesToCheck()) {
    SCOPED_TRACE(testing::PrintToString(exe));
    HMODULE module = ResourcesOf(exe);
    ASSERT_NE(module, nullptr);
    HRSRC found =
        FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                               SizeofResource(module, found));
    for (const char* part : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             ">PerMonitorV2", "level=\"asInvoker\""}) {
      EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    FreeLibrary(module);
  }
}

}  // namespace
}  // namespace colfix::wintest
