// Checks the committed application icon: the six images of colfix.ico in the order
// and depths Windows picks from (the largest kept as a PNG), and the PNG sizes the
// Linux desktop installs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open " << path;
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le(const Bytes& data, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = value << 8 | data.at(at + static_cast<std::size_t>(i));
  }
  return value;
}

std::uint32_t Be32(const Bytes& data, std::size_t at) {
  return static_cast<std::uint32_t>(data.at(at)) << 24 | data.at(at + 1) << 16 |
         data.at(at + 2) << 8 | data.at(at + 3);
}

std::size_t RowStride(std::size_t width, std::size_t bits) {
  return (width * bits + 31) / 32 * 4;
}

struct Entry {
  std::uint32_t size;
  std::uint32_t bits;
  bool png = false;  // stored as a PNG file rather than as a bitmap
};

// The order matters: older Windows versions take the first image of a fitting size.
constexpr std::array<Entry, 6> kExpectedEntries{
    {{32, 8}, {16, 8}, {128, 32, true}, {48, 32}, {32, 32}, {16, 32}}};

// A whole PNG of `length` bytes at `at`: 8-bit RGBA (32 bits a pixel), `size` pixels square.
void ExpectRgbaPng(const Bytes& data, std::size_t at, std::size_t length, std::uint32_t size) {
  constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  ASSERT_GE(length, 33u + 12u);
  ASSERT_LE(at + length, data.size());
  EXPECT_TRUE(std::equal(kSignature.begin(), kSignature.end(), data.begin() + at));
  EXPECT_EQ(Be32(data, at + 8), 13u);
  EXPECT_EQ(std::string(data.begin() + at + 12, data.begin() + at + 16), "IHDR");
  EXPECT_EQ(Be32(data, at + 16), size) << "width";
  EXPECT_EQ(Be32(data, at + 20), size) << "height";
  EXPECT_EQ(data.at(at + 24), 8u) << "bit depth";
  EXPECT_EQ(data.at(at + 25), 6u) << "colour type 6: RGBA";
  const std::size_t end = at + length;
  EXPECT_EQ(std::string(data.begin() + end - 8, data.begin() + end - 4), "IEND")
      << "the PNG ends where its length says";
}

constexpr std::size_t kDirectoryStart = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

// One image of the icon file, located through its directory entry.
struct Image {
  const Bytes& file;
  std::size_t dib;  // offset of the BITMAPINFOHEADER
  std::size_t size;
  std::size_t bits;
  std::size_t paletteColours;

  std::size_t PaletteStart() const { return dib + kInfoHeaderSize; }
  std::size_t PixelStart() const { return PaletteStart() + 4 * paletteColours; }
  std::size_t MaskStart() const { return PixelStart() + RowStride(size, bits) * size; }
  std::size_t End() const { return MaskStart() + RowStride(size, 1) * size; }

  // Rows are stored bottom-up; x, y count from the top-left corner.
  std::size_t PixelAt(std::size_t x, std::size_t y) const {
    return PixelStart() + RowStride(size, bits) * (size - 1 - y) + x * bits / 8;
  }
  bool MaskedTransparent(std::size_t x, std::size_t y) const {
    const std::size_t byte = MaskStart() + RowStride(size, 1) * (size - 1 - y) + x / 8;
    return (file.at(byte) >> (7 - x % 8) & 1) != 0;
  }
  std::array<std::size_t, 4> CornersX() const { return {0, size - 1, 0, size - 1}; }
  std::array<std::size_t, 4> CornersY() const { return {0, 0, size - 1, size - 1}; }
};

class IconFile : public testing::Test {
 protected:
  Bytes ico_ = ReadFile(COLFIX_ICON_FILE);

  std::size_t EntryAt(std::size_t index) const { return kDirectoryStart + kEntrySize * index; }
};

TEST_F(IconFile, HeaderAnnouncesSixIcons) {
  ASSERT_GE(ico_.size(), kDirectoryStart);
  EXPECT_EQ(Le(ico_, 0, 2), 0u);
  EXPECT_EQ(Le(ico_, 2, 2), 1u) << "type 1 is an icon, 2 a cursor";
  EXPECT_EQ(Le(ico_, 4, 2), kExpectedEntries.size());
}

TEST_F(IconFile, DirectoryEntriesAndTheirBitmapsAgree) {
  ASSERT_GE(ico_.size(), EntryAt(kExpectedEntries.size()));
  std::size_t expectedOffset = EntryAt(kExpectedEntries.size());
  for (std::size_t i = 0; i < kExpectedEntries.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const Entry want = kExpectedEntries[i];
    const std::size_t entry = EntryAt(i);
    EXPECT_EQ(Le(ico_, entry, 1), want.size);
    EXPECT_EQ(Le(ico_, entry + 1, 1), want.size);
    EXPECT_EQ(Le(ico_, entry + 2, 1), 0u) << "colour count is 0 at 8 bits and more";
    EXPECT_EQ(Le(ico_, entry + 4, 2), 1u) << "planes";
    EXPECT_EQ(Le(ico_, entry + 6, 2), want.bits);
    const std::size_t length = Le(ico_, entry + 8, 4);
    const std::size_t dib = Le(ico_, entry + 12, 4);
    EXPECT_EQ(dib, expectedOffset) << "images follow one another without gaps";
    ASSERT_LE(dib + length, ico_.size());
    expectedOffset = dib + length;
    if (want.png) {
      ExpectRgbaPng(ico_, dib, length, want.size);
      continue;
    }

    EXPECT_EQ(Le(ico_, dib, 4), kInfoHeaderSize) << "BITMAPINFOHEADER";
    EXPECT_EQ(Le(ico_, dib + 4, 4), want.size);
    EXPECT_EQ(Le(ico_, dib + 8, 4), 2 * want.size) << "colour bitmap and mask";
    EXPECT_EQ(Le(ico_, dib + 12, 2), 1u);
    EXPECT_EQ(Le(ico_, dib + 14, 2), want.bits);
    EXPECT_EQ(Le(ico_, dib + 16, 4), 0u) << "uncompressed";
    const std::size_t used = Le(ico_, dib + 32, 4);
    const std::size_t palette = want.bits == 8 ? (used == 0 ? 256 : used) : used;
    const Image image{ico_, dib, want.size, want.bits, palette};
    EXPECT_EQ(image.End() - dib, length) << "header, palette, pixels and mask fill the entry";
  }
  EXPECT_EQ(expectedOffset, ico_.size());
}

class IconImages : public IconFile {
 protected:
  Image ImageAt(std::size_t index) const {
    const std::size_t entry = EntryAt(index);
    const std::size_t dib = Le(ico_, entry + 12, 4);
    const std::size_t bits = Le(ico_, dib + 14, 2);
    const std::size_t used = Le(ico_, dib + 32, 4);
    return {ico_, dib, Le(ico_, dib + 4, 4), bits, bits == 8 && used == 0 ? 256 : used};
  }
};

TEST_F(IconImages, PaletteImagesHaveAtMost256ColoursAndTransparentCorners) {
  for (std::size_t i = 0; i < kExpectedEntries.size(); ++i) {
    if (kExpectedEntries[i].bits != 8) continue;
    SCOPED_TRACE("image " + std::to_string(i));
    const Image image = ImageAt(i);
    ASSERT_EQ(image.bits, 8u);
    ASSERT_GE(image.paletteColours, 2u);
    ASSERT_LE(image.paletteColours, 256u);
    ASSERT_LE(image.End(), ico_.size());
    std::size_t opaque = 0;
    for (std::size_t y = 0; y < image.size; ++y) {
      for (std::size_t x = 0; x < image.size; ++x) {
        EXPECT_LT(ico_.at(image.PixelAt(x, y)), image.paletteColours);
        opaque += image.MaskedTransparent(x, y) ? 0 : 1;
      }
    }
    EXPECT_GT(opaque, image.size * image.size / 8) << "the tools are drawn";
    EXPECT_LT(opaque, image.size * image.size) << "the ground shows through";
    for (std::size_t c = 0; c < 4; ++c) {
      const std::size_t x = image.CornersX()[c];
      const std::size_t y = image.CornersY()[c];
      EXPECT_TRUE(image.MaskedTransparent(x, y)) << "corner " << c;
      // A transparent pixel must be black, or the XOR step would tint the screen behind it.
      const std::size_t colour = image.PaletteStart() + 4 * ico_.at(image.PixelAt(x, y));
      EXPECT_EQ(Le(ico_, colour, 3), 0u) << "corner " << c;
    }
  }
}

TEST_F(IconImages, AlphaImagesHaveRealTransparencyAndAMatchingMask) {
  for (std::size_t i = 0; i < kExpectedEntries.size(); ++i) {
    // Windows decodes the PNG; the program's resource test looks at its pixels.
    if (kExpectedEntries[i].bits != 32 || kExpectedEntries[i].png) continue;
    SCOPED_TRACE("image " + std::to_string(i));
    const Image image = ImageAt(i);
    ASSERT_EQ(image.bits, 32u);
    ASSERT_LE(image.End(), ico_.size());
    std::size_t clear = 0;
    std::size_t solid = 0;
    std::size_t partial = 0;
    for (std::size_t y = 0; y < image.size; ++y) {
      for (std::size_t x = 0; x < image.size; ++x) {
        const std::uint8_t alpha = ico_.at(image.PixelAt(x, y) + 3);
        clear += alpha == 0 ? 1 : 0;
        solid += alpha == 255 ? 1 : 0;
        partial += alpha != 0 && alpha != 255 ? 1 : 0;
        if (alpha == 0) {
          EXPECT_TRUE(image.MaskedTransparent(x, y)) << x << "," << y;
        } else if (alpha == 255) {
          EXPECT_FALSE(image.MaskedTransparent(x, y)) << x << "," << y;
        }
      }
    }
    EXPECT_GT(clear, 0u);
    EXPECT_GT(solid, 0u);
    EXPECT_GT(partial, 0u) << "edges are smoothed";
    for (std::size_t c = 0; c < 4; ++c) {
      EXPECT_EQ(ico_.at(image.PixelAt(image.CornersX()[c], image.CornersY()[c]) + 3), 0u)
          << "corner " << c;
    }
  }
}

TEST(IconPngs, EachIsRgbaOfTheSizeItsNameSays) {
  for (const std::uint32_t size : {16u, 32u, 48u, 128u}) {
    const auto name = "colfix-" + std::to_string(size) + ".png";
    SCOPED_TRACE(name);
    const Bytes png = ReadFile(std::filesystem::path(COLFIX_PNG_DIR) / name);
    ExpectRgbaPng(png, 0, png.size(), size);
  }
}

}  // namespace
