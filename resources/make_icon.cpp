// Draws the window icon of setup.exe and writes it as an .ico file: a display on its
// stand with a USB plug in front of its lower right corner and the plug's cable running
// off the bottom edge.
//
// The icon holds one 32 x 32 image at 24 bits per pixel. Windows loads it as the big
// caption/taskbar icon and shrinks the same image to 16 x 16 for the small one, so the
// shapes are kept coarse: two-pixel bezels and no detail that only works at full size.
//
//   make_icon resources/setup.ico
//
// (or the host build's update_icon target) rebuilds the committed icon after a change
// to the drawing; the host tests check that the committed file is exactly what this
// program writes.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;

struct Rgb {
  std::uint8_t r, g, b;
};

// Inclusive pixel rectangle; y grows downwards, as on the screen.
struct Rect {
  int left, top, right, bottom;
  Rect Inset(int by) const { return {left + by, top + by, right - by, bottom - by}; }
};

// Outline colour shared by every shape, so the icon keeps its edge on light and dark
// caption bars alike.
constexpr Rgb kEdge{22, 24, 30};

constexpr Rgb kBezel{58, 62, 72};
constexpr Rgb kScreenTop{120, 196, 250};
constexpr Rgb kScreenBottom{28, 86, 186};
constexpr Rgb kPowerLight{80, 220, 90};
constexpr Rgb kStand{150, 156, 168};
constexpr Rgb kPlugShell{208, 213, 221};
constexpr Rgb kPlugShine{250, 251, 253};
constexpr Rgb kPlugSlot{40, 44, 52};
constexpr Rgb kPlugBody{112, 118, 132};
constexpr Rgb kCable{70, 74, 84};

class Canvas {
 public:
  void Set(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) {
      return;
    }
    Pixel& p = pixels_[y][x];
    p.opaque = true;
    p.colour = colour;
  }

  void Fill(Rect r, Rgb colour) { FillRounded(r, 0, colour); }

  // A filled rectangle whose corners are cut back by `radius` pixels along a quarter
  // circle; radius 0 gives square corners.
  void FillRounded(Rect r, int radius, Rgb colour) {
    for (int y = r.top; y <= r.bottom; ++y) {
      for (int x = r.left; x <= r.right; ++x) {
        if (InsideRoundedCorners(r, radius, x, y)) {
          Set(x, y, colour);
        }
      }
    }
  }

  // A shape with a one-pixel edge in the outline colour around its fill.
  void Panel(Rect r, int radius, Rgb fill) {
    FillRounded(r, radius, kEdge);
    FillRounded(r.Inset(1), radius > 0 ? radius - 1 : 0, fill);
  }

  // A rectangle shading from `top` at its first row to `bottom` at its last.
  void VerticalGradient(Rect r, Rgb top, Rgb bottom) {
    const int rows = r.bottom - r.top;
    for (int y = r.top; y <= r.bottom; ++y) {
      const int step = y - r.top;
      const Rgb colour{Mix(top.r, bottom.r, step, rows), Mix(top.g, bottom.g, step, rows),
                       Mix(top.b, bottom.b, step, rows)};
      for (int x = r.left; x <= r.right; ++x) {
        Set(x, y, colour);
      }
    }
  }

  // Lightens the pixels of `r` that lie on a diagonal band running from lower left to
  // upper right, where x + y is between `from` and `to`: the reflection on the glass.
  void Glare(Rect r, int from, int to) {
    for (int y = r.top; y <= r.bottom; ++y) {
      for (int x = r.left; x <= r.right; ++x) {
        if (x + y >= from && x + y <= to) {
          Pixel& p = pixels_[y][x];
          p.colour = {Lighten(p.colour.r), Lighten(p.colour.g), Lighten(p.colour.b)};
        }
      }
    }
  }

  // The .ico file: directory, one directory entry, then the image as a DIB (header, XOR
  // colour bitmap, AND transparency mask), all little-endian.
  std::vector<std::uint8_t> IconFile() const {
    constexpr std::uint32_t kHeaderSize = 40;
    constexpr std::uint32_t kColourRowBytes = (kSize * 3 + 3) / 4 * 4;
    constexpr std::uint32_t kMaskRowBytes = (kSize + 31) / 32 * 4;
    constexpr std::uint32_t kColourBytes = kColourRowBytes * kSize;
    constexpr std::uint32_t kMaskBytes = kMaskRowBytes * kSize;
    constexpr std::uint32_t kImageBytes = kHeaderSize + kColourBytes + kMaskBytes;
    constexpr std::uint32_t kImageOffset = 6 + 16;

    std::vector<std::uint8_t> out;
    // Icon directory: reserved, type 1 (icon), one image.
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    // Directory entry: width, height, no palette, reserved, planes, bits per pixel,
    // size of the image data and where it starts.
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, kImageBytes);
    Put32(out, kImageOffset);
    // BITMAPINFOHEADER. The height counts the colour bitmap and the mask together.
    Put32(out, kHeaderSize);
    Put32(out, kSize);
    Put32(out, kSize * 2);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, kColourBytes + kMaskBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    // Colour bitmap, bottom row first, pixels as blue, green, red. Transparent pixels
    // are black: the system draws an icon by ANDing the mask onto the screen and then
    // XORing these colours, and black leaves the background as it was.
    for (int y = kSize - 1; y >= 0; --y) {
      std::uint32_t written = 0;
      for (int x = 0; x < kSize; ++x) {
        const Pixel& p = pixels_[y][x];
        const Rgb c = p.opaque ? p.colour : Rgb{0, 0, 0};
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        written += 3;
      }
      for (; written < kColourRowBytes; ++written) {
        out.push_back(0);
      }
    }
    // Mask, bottom row first, one bit per pixel, leftmost pixel in the top bit; a set
    // bit lets the background show through.
    for (int y = kSize - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(kMaskRowBytes, 0);
      for (int x = 0; x < kSize; ++x) {
        if (!pixels_[y][x].opaque) {
          row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
      out.insert(out.end(), row.begin(), row.end());
    }
    return out;
  }

 private:
  struct Pixel {
    bool opaque;
    Rgb colour;
  };

  // How far `v` lies beyond the band [low, high]; 0 inside it.
  static int Overshoot(int v, int low, int high) {
    if (v < low) {
      return low - v;
    }
    return v > high ? v - high : 0;
  }

  // Whether (x, y) survives the rounding of the rectangle's corners: inside a corner's
  // square it must lie within the quarter circle centred `radius` pixels in from both
  // edges.
  static bool InsideRoundedCorners(Rect r, int radius, int x, int y) {
    const int dx = Overshoot(x, r.left + radius, r.right - radius);
    const int dy = Overshoot(y, r.top + radius, r.bottom - radius);
    return dx * dx + dy * dy <= radius * radius;
  }

  static std::uint8_t Mix(std::uint8_t from, std::uint8_t to, int step, int steps) {
    if (steps == 0) {
      return from;
    }
    return static_cast<std::uint8_t>(from + (to - from) * step / steps);
  }

  static std::uint8_t Lighten(std::uint8_t v) {
    return static_cast<std::uint8_t>(v + (255 - v) / 3);
  }

  static void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }

  static void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
  }

  Pixel pixels_[kSize][kSize] = {};
};

void DrawDisplay(Canvas& c) {
  // The case: an edge, a two-pixel bezel and a deeper chin with the power light.
  const Rect screen{3, 3, 22, 15};
  c.Panel({0, 0, 25, 19}, 2, kBezel);
  c.VerticalGradient(screen, kScreenTop, kScreenBottom);
  c.Glare(screen, 13, 16);
  c.Set(4, 17, kPowerLight);
  // The stand: a neck under the chin and a foot.
  c.Panel({10, 19, 15, 23}, 0, kStand);
  c.Panel({5, 23, 20, 26}, 1, kStand);
}

void DrawUsbPlug(Canvas& c) {
  // The cable leaves the bottom of the plug's body and runs off the icon's lower edge.
  c.Panel({23, 27, 28, 31}, 0, kCable);
  // The grip the fingers hold, then the metal shell on top, lit along its left side,
  // with the two slots of a type-A plug seen from above.
  c.Panel({20, 19, 31, 28}, 2, kPlugBody);
  c.Panel({21, 9, 30, 20}, 0, kPlugShell);
  c.Fill({22, 10, 22, 19}, kPlugShine);
  c.Fill({23, 12, 24, 13}, kPlugSlot);
  c.Fill({27, 12, 28, 13}, kPlugSlot);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  Canvas canvas;
  DrawDisplay(canvas);
  DrawUsbPlug(canvas);
  const std::vector<std::uint8_t> bytes = canvas.IconFile();

  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::fprintf(stderr, "make_icon: could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
