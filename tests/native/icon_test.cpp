// The checked-in program icon: 16x16, 16 colours, opaque, eight 8x4 blocks.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<unsigned char> ReadIcon() {
  std::ifstream file(TINTWISE_ICON_PATH, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::uint32_t Read32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes.at(at)) | static_cast<std::uint32_t>(bytes.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(bytes.at(at + 2)) << 16 | static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

TEST(ProgramIcon, IsSixteenColoursOfEightOpaqueBlocks) {
  const std::vector<unsigned char> ico = ReadIcon();
  ASSERT_EQ(ico.size(), 318u);
  ASSERT_EQ(ico[4], 1) << "one image";
  EXPECT_EQ(ico[6], 16);  // width
  EXPECT_EQ(ico[7], 16);  // height
  EXPECT_EQ(ico[8], 16);  // colours

  const std::size_t image = Read32(ico, 18);
  EXPECT_EQ(Read32(ico, image + 4), 16u);                  // width
  EXPECT_EQ(Read32(ico, image + 8), 32u);                  // height of colour + mask
  EXPECT_EQ(ico[image + 14], 4) << "bits per pixel";
  const std::size_t palette = image + 40;
  const std::size_t pixels = palette + std::size_t{16} * 4;
  const std::size_t mask = pixels + std::size_t{16} * 8;

  // The standard 16-colour palette, as 0xRRGGBB.
  const std::array<std::uint32_t, 16> standard = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  const auto colour_at = [&](int x, int y) {
    const std::size_t row = pixels + static_cast<std::size_t>(15 - y) * 8;  // bottom-up
    const unsigned char pair = ico.at(row + static_cast<std::size_t>(x / 2));
    const int index = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
    return Read32(ico, palette + static_cast<std::size_t>(index) * 4) & 0xFFFFFF;
  };
  for (std::size_t i = 0; i < standard.size(); ++i) {
    EXPECT_EQ(Read32(ico, palette + i * 4) & 0xFFFFFF, standard[i]) << "palette entry " << i;
  }

  const std::uint32_t blocks[4][2] = {{0xFF0000, 0x0000FF}, {0x00FF00, 0x00FFFF},
                                      {0xFFFF00, 0xFF00FF}, {0x000000, 0xFFFFFF}};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      ASSERT_EQ(colour_at(x, y), blocks[y / 4][x / 8]) << "pixel " << x << "," << y;
    }
  }
  for (std::size_t i = mask; i < ico.size(); ++i) EXPECT_EQ(ico[i], 0) << "mask byte " << i - mask;
}

}  // namespace
