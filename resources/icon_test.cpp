// Checks the window icon that setup.exe embeds as icon group 104: that the committed
// file is what make_icon draws, and that it holds the one image the window asks for in
// a form the system can load and draw over any background.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadWholeFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8);
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

// Layout of a 32 x 32 image at 24 bits per pixel: 96-byte colour rows and 4-byte mask
// rows (both already multiples of 4), after a 40-byte header.
constexpr std::uint32_t kDirectorySize = 6 + 16;
constexpr std::uint32_t kHeaderSize = 40;
constexpr std::uint32_t kColourBytes = 32 * 96;
constexpr std::uint32_t kMaskBytes = 32 * 4;

class CommittedIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    icon_ = ReadWholeFile(COMMITTED_ICON);
    ASSERT_FALSE(icon_.empty()) << "cannot read " << COMMITTED_ICON;
  }

  // The image as drawn on screen: (0, 0) is the top left pixel, while the file stores
  // the bottom row first.
  bool Transparent(int x, int y) const {
    const std::size_t row = kDirectorySize + kHeaderSize + kColourBytes + (31 - y) * 4;
    return (icon_.at(row + x / 8) & (0x80 >> (x % 8))) != 0;
  }
  std::uint32_t Colour(int x, int y) const {
    const std::size_t at = kDirectorySize + kHeaderSize + (31 - y) * 96 + x * 3;
    return icon_.at(at) | icon_.at(at + 1) << 8 | icon_.at(at + 2) << 16;
  }

  Bytes icon_;
};

TEST_F(CommittedIcon, HoldsOneImageOf32By32PixelsAt24Bits) {
  ASSERT_GE(icon_.size(), kDirectorySize);
  EXPECT_EQ(U16(icon_, 0), 0u) << "reserved";
  EXPECT_EQ(U16(icon_, 2), 1u) << "resource type: 1 is an icon, 2 a cursor";
  EXPECT_EQ(U16(icon_, 4), 1u) << "image count";

  // The directory entry is what windres copies into the icon group, and what the system
  // matches against the size and colour depth it is asked for.
  EXPECT_EQ(icon_[6], 32) << "width";
  EXPECT_EQ(icon_[7], 32) << "height";
  EXPECT_EQ(icon_[8], 0) << "palette colours: none at 24 bits";
  EXPECT_EQ(icon_[9], 0) << "reserved";
  EXPECT_EQ(U16(icon_, 10), 1u) << "planes";
  EXPECT_EQ(U16(icon_, 12), 24u) << "bits per pixel";
}

TEST_F(CommittedIcon, SizesAndOffsetsAgreeWithTheImage) {
  ASSERT_GE(icon_.size(), kDirectorySize + kHeaderSize);
  const std::uint32_t image_size = U32(icon_, 14);
  const std::uint32_t image_offset = U32(icon_, 18);
  EXPECT_EQ(image_offset, kDirectorySize) << "the image follows the directory";
  EXPECT_EQ(image_size, kHeaderSize + kColourBytes + kMaskBytes);
  EXPECT_EQ(icon_.size(), std::size_t{image_offset} + image_size) << "nothing after the image";

  const std::size_t h = kDirectorySize;
  EXPECT_EQ(U32(icon_, h), kHeaderSize) << "a BITMAPINFOHEADER, no later header";
  EXPECT_EQ(U32(icon_, h + 4), 32u) << "width";
  EXPECT_EQ(U32(icon_, h + 8), 64u) << "height covers the colour bitmap and the mask";
  EXPECT_EQ(U16(icon_, h + 12), 1u) << "planes";
  EXPECT_EQ(U16(icon_, h + 14), 24u) << "bits per pixel";
  EXPECT_EQ(U32(icon_, h + 16), 0u) << "BI_RGB, uncompressed";
  const std::uint32_t size_image = U32(icon_, h + 20);
  EXPECT_TRUE(size_image == 0 || size_image == kColourBytes + kMaskBytes)
      << "image size " << size_image;
  EXPECT_EQ(U32(icon_, h + 32), 0u) << "no colour table";
}

TEST_F(CommittedIcon, DrawingStandsOnATransparentBackground) {
  ASSERT_EQ(icon_.size(), kDirectorySize + kHeaderSize + kColourBytes + kMaskBytes);
  // The system ANDs the mask onto the screen and XORs the colours over it: where the
  // mask lets the background through, any colour other than black would tint it.
  int opaque = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (Transparent(x, y)) {
        EXPECT_EQ(Colour(x, y), 0u) << "transparent pixel (" << x << ", " << y << ") not black";
      } else {
        ++opaque;
      }
    }
  }
  // Not a square block, and not an empty one.
  EXPECT_TRUE(Transparent(0, 31)) << "lower left corner";
  EXPECT_TRUE(Transparent(31, 0)) << "upper right corner";
  EXPECT_FALSE(Transparent(16, 10)) << "middle of the display";
  EXPECT_GT(opaque, 32 * 32 / 2);
  EXPECT_LT(opaque, 32 * 32);
}

TEST(GeneratedIcon, IsTheCommittedIconByteForByte) {
  const Bytes committed = ReadWholeFile(COMMITTED_ICON);
  const Bytes generated = ReadWholeFile(GENERATED_ICON);
  ASSERT_FALSE(generated.empty()) << "make_icon wrote nothing to " << GENERATED_ICON;
  std::size_t first_difference = 0;
  while (first_difference < committed.size() && first_difference < generated.size() &&
         committed[first_difference] == generated[first_difference]) {
    ++first_difference;
  }
  EXPECT_TRUE(committed == generated)
      << "the drawing and " << COMMITTED_ICON << " have drifted apart: " << committed.size()
      << " bytes committed, " << generated.size() << " generated, first difference at byte "
      << first_difference << ". After changing the drawing, build the update_icon target "
      << "and commit the redrawn icon.";
}

}  // namespace
