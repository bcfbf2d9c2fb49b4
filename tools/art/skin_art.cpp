// The skinned button's pictures: 64 x 25, 24-bit, one per look. Only the outer four pixels are
// ever copied onto a button (the middle shows the button's own gradient), so the middles are
// filled plainly. button/highlight.bmp serves both HighLight and HighLightSelect.
#include <string>

#include "art/art.h"
#include "skin_button/button_skin.h"
#include "gfx/bmp.h"

namespace kovaren::art {
namespace {

using skin_button::kSkinHeight;
using skin_button::kSkinWidth;
using skin_button::Skin;

constexpr int kLast = kSkinWidth - 1;     // 63
constexpr int kBottom = kSkinHeight - 1;  // 24

Pixel Mix(Pixel a, Pixel b, double t) {
  auto channel = [t](uint8_t from, uint8_t to) { return static_cast<uint8_t>(from + (to - from) * t + 0.5); };
  return Rgb(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)), channel(BlueOf(a), BlueOf(b)));
}

// Column x from row y0 to y1 (inclusive), shading from `top` to `bottom`.
void ShadeColumn(PixelBuffer& p, int x, int y0, int y1, Pixel top, Pixel bottom) {
  for (int y = y0; y <= y1; ++y) p.set(x, y, Mix(top, bottom, y1 == y0 ? 0.0 : double(y - y0) / (y1 - y0)));
}

void Row(PixelBuffer& p, int y, int x0, int x1, Pixel c) { p.fill({x0, y, x1 - x0 + 1, 1}, c); }

// A rectangular one-pixel ring inset by `inset`, in the given colour.
void Ring(PixelBuffer& p, int inset, Pixel c) {
  Row(p, inset, inset, kLast - inset, c);
  Row(p, kBottom - inset, inset, kLast - inset, c);
  p.fill({inset, inset, 1, kSkinHeight - 2 * inset}, c);
  p.fill({kLast - inset, inset, 1, kSkinHeight - 2 * inset}, c);
}

// The light outer frame of the raised looks, inset by `inset` (0, or 1 when pressed).
void LightFrame(PixelBuffer& p, int inset) {
  const int l = inset, r = kLast - inset, t = inset, b = kBottom - inset;
  ShadeColumn(p, l, t, b, Rgb(0xE1, 0xDD, 0xCA), Rgb(0xE2, 0xDE, 0xCB));
  ShadeColumn(p, r, t, b, Rgb(0xEF, 0xED, 0xDF), Rgb(0xF1, 0xEE, 0xE2));
  Row(p, t, l, r, Rgb(0xE0, 0xDC, 0xC9));
  Row(p, b, l, r, Rgb(0xF8, 0xF7, 0xF0));
}

// The dark blue border with blended, rounded corners, inset by `inset` (1, or 2 when pressed).
void BlueBorder(PixelBuffer& p, int inset) {
  Ring(p, inset, Rgb(0x00, 0x3C, 0x74));
  const int l = inset, r = kLast - inset, t = inset, b = kBottom - inset;
  for (int x : {l, r}) {
    p.set(x, t, Rgb(0x7A, 0x95, 0xA8));
    p.set(x, b, Rgb(0x67, 0x88, 0xA0));
  }
  for (int x : {l + 1, r - 1}) {
    p.set(x, t + 1, Rgb(0x25, 0x57, 0x83));
    p.set(x, b - 1, Rgb(0x16, 0x4D, 0x7E));
  }
}

// Inner ring of the raised looks: rows 2-3 and 21-22 across, columns 2-3 and 60-61 shaded down
// rows 4..20. Colours: top rows, outer and inner side columns (left then right), bottom rows.
struct InnerRing {
  Pixel top[2];
  Pixel leftOuter[2], leftInner[2];
  Pixel rightInner[2], rightOuter[2];
  Pixel bottom[2];  // row 21, row 22
};

void DrawInnerRing(PixelBuffer& p, const InnerRing& ring) {
  Row(p, 2, 2, kLast - 2, ring.top[0]);
  Row(p, 3, 2, kLast - 2, ring.top[1]);
  Row(p, kBottom - 3, 2, kLast - 2, ring.bottom[0]);
  Row(p, kBottom - 2, 2, kLast - 2, ring.bottom[1]);
  ShadeColumn(p, 2, 4, kBottom - 4, ring.leftOuter[0], ring.leftOuter[1]);
  ShadeColumn(p, 3, 4, kBottom - 4, ring.leftInner[0], ring.leftInner[1]);
  ShadeColumn(p, kLast - 3, 4, kBottom - 4, ring.rightInner[0], ring.rightInner[1]);
  ShadeColumn(p, kLast - 2, 4, kBottom - 4, ring.rightOuter[0], ring.rightOuter[1]);
}

// The middle is never copied; a plain light fill keeps the pictures easy to read when viewed.
PixelBuffer Blank(Pixel middle) { return PixelBuffer(kSkinWidth, kSkinHeight, middle); }

PixelBuffer Raised(const InnerRing& ring) {
  PixelBuffer p = Blank(Rgb(0xF4, 0xF4, 0xF0));
  LightFrame(p, 0);
  DrawInnerRing(p, ring);
  BlueBorder(p, 1);
  return p;
}

PixelBuffer Normal() {
  const Pixel white = Rgb(0xF3, 0xF3, 0xEE);
  return Raised({{white, white},
                 {Rgb(0xFD, 0xFD, 0xFC), Rgb(0xEC, 0xEB, 0xE6)},
                 {Rgb(0xFD, 0xFD, 0xFC), Rgb(0xEC, 0xEB, 0xE6)},
                 {Rgb(0xFB, 0xFB, 0xFA), Rgb(0xE4, 0xE2, 0xDA)},
                 {Rgb(0xF6, 0xF4, 0xF2), Rgb(0xE0, 0xDD, 0xD4)},
                 {Rgb(0xE2, 0xDF, 0xD6), Rgb(0xD6, 0xD0, 0xC5)}});
}

PixelBuffer HighLight() {
  const Pixel outerTop = Rgb(0xFE, 0xDF, 0x9A), outerBottom = Rgb(0xF9, 0xB4, 0x35);
  const Pixel innerTop = Rgb(0xFC, 0xD2, 0x79), innerBottom = Rgb(0xF8, 0xB5, 0x35);
  return Raised({{Rgb(0xFF, 0xF0, 0xCF), Rgb(0xFD, 0xD8, 0x89)},
                 {outerTop, outerBottom},
                 {innerTop, innerBottom},
                 {innerTop, innerBottom},
                 {outerTop, outerBottom},
                 {Rgb(0xF8, 0xB3, 0x30), Rgb(0xE5, 0x97, 0x00)}});
}

PixelBuffer Selected() {
  const Pixel light = Rgb(0xCE, 0xE7, 0xFF), sideTop = Rgb(0xB7, 0xD0, 0xF4), sideBottom = Rgb(0x8B, 0xAD, 0xE4);
  const Pixel dark = Rgb(0x69, 0x82, 0xEE);
  return Raised({{light, light},
                 {sideTop, sideBottom},
                 {sideTop, sideBottom},
                 {sideTop, sideBottom},
                 {sideTop, sideBottom},
                 {dark, dark}});
}

// Sunken: everything one pixel further in, a grey ring dark at the top and left.
PixelBuffer Pressed() {
  PixelBuffer p = Blank(Rgb(0xE6, 0xE4, 0xDD));
  Ring(p, 0, Rgb(0xEC, 0xE9, 0xD8));
  LightFrame(p, 1);
  Row(p, 3, 3, kLast - 3, Rgb(0xD1, 0xCC, 0xC1));
  Row(p, kBottom - 3, 3, kLast - 3, Rgb(0xEA, 0xE7, 0xDE));
  ShadeColumn(p, 3, 4, kBottom - 4, Rgb(0xA0, 0xAB, 0xB1), Rgb(0xBC, 0xC5, 0xC7));
  ShadeColumn(p, kLast - 3, 4, kBottom - 4, Rgb(0xE2, 0xDE, 0xD4), Rgb(0xEC, 0xE9, 0xE0));
  BlueBorder(p, 2);
  return p;
}

PixelBuffer Disable() {
  PixelBuffer p = Blank(Rgb(0xF5, 0xF4, 0xEA));
  Ring(p, 0, Rgb(0xEC, 0xE9, 0xD8));
  Ring(p, 1, Rgb(0xC9, 0xC7, 0xBA));
  for (int x : {1, kLast - 1}) {
    for (int y : {1, kBottom - 1}) p.set(x, y, Rgb(0xDA, 0xD8, 0xC9));  // rounded: half frame, half border
  }
  return p;
}

}  // namespace

std::vector<AssetFile> DrawSkinAssets() {
  const std::pair<Skin, PixelBuffer> pictures[] = {
      {Skin::Normal, Normal()},   {Skin::HighLight, HighLight()}, {Skin::Pressed, Pressed()},
      {Skin::Selected, Selected()}, {Skin::Disable, Disable()},
  };
  std::vector<AssetFile> files;
  for (const auto& [skin, picture] : pictures) {
    files.push_back({std::string("button/") + skin_button::SkinFileStem(skin) + ".bmp", EncodeBmp24(picture)});
  }
  return files;
}

}  // namespace kovaren::art
