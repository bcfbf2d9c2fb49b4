// kovaren-button_looks OUTDIR: renders every look of the skinned button, as the button reaches it
// through ordinary gestures, at the settings dialog's two sizes (81 x 25 and 29 x 21), to PNG files
// OUTDIR/<w>x<h>_<look>.png. Captions are drawn by the platform and are not in these pictures.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "art/art.h"
#include "skin_button/button.h"
#include "gfx/bmp.h"

namespace {

using namespace kovaren;
using namespace kovaren::skin_button;

class StillSite final : public SkinButtonSite {
 public:
  std::optional<ScreenPoint> CursorPosition() override { return ScreenPoint{}; }
  bool IsOwnWindowAt(ScreenPoint) override { return pointerOver; }
  void Refresh() override {}
  void Click() override {}
  bool pointerOver = true;
};

SkinSet Skins() {
  std::map<std::string, PixelBuffer> files;
  for (const auto& f : art::DrawSkinAssets()) {
    if (auto p = DecodeBmp(f.bytes)) files[f.path] = *p;
  }
  std::array<PixelBuffer, kSkinCount> pictures;
  for (int i = 0; i < kSkinCount; ++i) pictures[i] = files[std::string("button/") + SkinFileStem(Skin(i)) + ".bmp"];
  return SkinSet(std::move(pictures));
}

bool WritePng(const std::filesystem::path& path, const PixelBuffer& picture) {
  FILE* out = std::fopen(path.string().c_str(), "wb");
  if (!out) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, picture.width(), picture.height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(picture.width()) * 3);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const Pixel p = picture.at(x, y);
      row[x * 3] = RedOf(p);
      row[x * 3 + 1] = GreenOf(p);
      row[x * 3 + 2] = BlueOf(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(out) == 0;
}

struct Gesture {
  const char* name;
  std::function<void(SkinButton&, StillSite&)> act;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  const SkinSet skins = Skins();
  const Gesture gestures[] = {
      {"normal", [](SkinButton&, StillSite&) {}},
      {"highlight", [](SkinButton& c, StillSite&) { c.MouseMove(); }},
      {"pressed", [](SkinButton& c, StillSite&) { c.MouseMove(); c.GotFocus(); c.MouseDown(MouseButton::Left); }},
      {"highlightselect_after_click",
       [](SkinButton& c, StillSite&) {
         c.MouseMove();
         c.GotFocus();
         c.MouseDown(MouseButton::Left);
         c.MouseUp(MouseButton::Left);
       }},
      {"selected", [](SkinButton& c, StillSite&) { c.GotFocus(); }},
      {"highlightselect_after_selected", [](SkinButton& c, StillSite&) { c.GotFocus(); c.MouseMove(); }},
      {"disable", [](SkinButton& c, StillSite&) { c.SetEnabled(false); }},
  };
  int failures = 0;
  for (auto [w, h] : {std::pair{81, 25}, {29, 21}}) {
    for (const Gesture& g : gestures) {
      StillSite site;
      SkinButton button(site, skins);
      button.Resize(w, h);
      button.Initialize();
      g.act(button, site);
      const auto path = dir / (std::to_string(w) + "x" + std::to_string(h) + "_" + g.name + ".png");
      if (!WritePng(path, button.surface())) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        ++failures;
      }
    }
  }
  return failures ? 1 : 0;
}
