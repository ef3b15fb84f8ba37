// The drawing module: Xft for the texts, RandR for the primary monitor.
#include "x11/x11_drawing.h"

#include <X11/Xft/Xft.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

#include "core/utf8.h"

namespace kantrell {

namespace {

XRenderColor renderColour(Colour colour) {
  const auto channel = [colour](int shift) {
    return static_cast<unsigned short>(((static_cast<std::uint32_t>(colour) >> shift) & 0xFF) *
                                       257);
  };
  return {channel(0), channel(8), channel(16), 0xFFFF};  // 0x00BBGGRR
}

// The lines of a control's text: CR LF (or a lone LF) ends a line.
std::vector<Text> linesOf(const Text& text) {
  std::vector<Text> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    if (text[i] == u'\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(text[i]);
    }
  }
  return lines;
}

// A Windows font weight (100 thin to 900 black) as fontconfig counts it.
int fontconfigWeight(int weight) {
  struct Step {
    int windows, fontconfig;
  };
  constexpr Step steps[] = {
      {100, FC_WEIGHT_THIN},    {200, FC_WEIGHT_EXTRALIGHT}, {300, FC_WEIGHT_LIGHT},
      {400, FC_WEIGHT_REGULAR}, {500, FC_WEIGHT_MEDIUM},     {600, FC_WEIGHT_DEMIBOLD},
      {700, FC_WEIGHT_BOLD},    {800, FC_WEIGHT_EXTRABOLD},  {900, FC_WEIGHT_BLACK}};
  int result = FC_WEIGHT_REGULAR;
  for (const Step& step : steps) {
    if (weight >= step.windows) result = step.fontconfig;
  }
  return result;
}

const FcChar16* units(const Text& text) { return reinterpret_cast<const FcChar16*>(text.data()); }

class XftDrawing final : public X11Drawing {
 public:
  explicit XftDrawing(Display* display) : display_(display), screen_(DefaultScreen(display)) {}

  ~XftDrawing() override {
    for (auto& [window, draw] : draws_) XftDrawDestroy(draw);
    for (auto& [key, font] : fonts_) {
      if (font != nullptr) XftFontClose(display_, font);
    }
  }

  Rect primaryMonitor(Rect wholeScreen) override {
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display_, &event, &error) ||
        !XRRQueryVersion(display_, &major, &minor) || major * 100 + minor < 105) {
      return wholeScreen;
    }
    int count = 0;
    XRRMonitorInfo* monitors =
        XRRGetMonitors(display_, RootWindow(display_, screen_), True, &count);
    Rect area = wholeScreen;
    for (int i = 0; monitors != nullptr && i < count; ++i) {
      if (monitors[i].primary) {
        area = {{monitors[i].x, monitors[i].y}, {monitors[i].width, monitors[i].height}};
        break;
      }
    }
    if (monitors != nullptr) XRRFreeMonitors(monitors);
    return area;
  }

  void draw(Window window, const std::vector<ControlLook>& controls) override {
    XftDraw*& draw = draws_[window];
    if (draw == nullptr) {
      draw = XftDrawCreate(display_, window, DefaultVisual(display_, screen_),
                           DefaultColormap(display_, screen_));
    }
    if (draw == nullptr) return;
    for (const ControlLook& control : controls) drawControl(draw, control);
  }

  void forget(Window window) override {
    const auto found = draws_.find(window);
    if (found == draws_.end()) return;
    XftDrawDestroy(found->second);
    draws_.erase(found);
  }

 private:
  void drawControl(XftDraw* draw, const ControlLook& control) {
    XRectangle box = {static_cast<short>(control.position.x),
                      static_cast<short>(control.position.y),
                      static_cast<unsigned short>(std::max(control.size.width, 0)),
                      static_cast<unsigned short>(std::max(control.size.height, 0))};
    XftDrawSetClipRectangles(draw, 0, 0, &box, 1);
    Visual* visual = DefaultVisual(display_, screen_);
    const Colormap colormap = DefaultColormap(display_, screen_);
    XftColor back = {}, text = {};
    const XRenderColor backRender = renderColour(control.backColour);
    const XRenderColor textRender = renderColour(control.textColour);
    XftColorAllocValue(display_, visual, colormap, &backRender, &back);
    XftColorAllocValue(display_, visual, colormap, &textRender, &text);
    XftDrawRect(draw, &back, box.x, box.y, box.width, box.height);

    if (XftFont* font = fontFor(control.font)) {
      int top = control.position.y;
      for (const Text& line : linesOf(control.text)) {
        XGlyphInfo extents = {};
        XftTextExtents16(display_, font, units(line), static_cast<int>(line.size()), &extents);
        int x = control.position.x;
        if (control.alignRight) {
          x += control.size.width - extents.xOff;
        } else if (control.alignCentre) {
          x += (control.size.width - extents.xOff) / 2;
        }
        XftDrawString16(draw, &text, font, x, top + font->ascent, units(line),
                        static_cast<int>(line.size()));
        top += font->ascent + font->descent;
      }
    }
    XftColorFree(display_, visual, colormap, &text);
    XftColorFree(display_, visual, colormap, &back);
    XftDrawSetClip(draw, None);
  }

  // Opened once per look; a font that cannot be opened is not tried again.
  XftFont* fontFor(const FontSpec& wanted) {
    const auto key = std::make_tuple(wanted.face, wanted.height, wanted.weight, wanted.italic);
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    const std::string face = utf8From(wanted.face);
    // A negative height is the character height in pixels: the font's pixel size.
    const double pixels = wanted.height != 0 ? std::abs(wanted.height) : 11.0;
    XftFont* font = XftFontOpen(display_, screen_, XFT_FAMILY, XftTypeString, face.c_str(),
                                XFT_PIXEL_SIZE, XftTypeDouble, pixels, XFT_WEIGHT, XftTypeInteger,
                                fontconfigWeight(wanted.weight), XFT_SLANT, XftTypeInteger,
                                wanted.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN, nullptr);
    fonts_[key] = font;
    return font;
  }

  Display* display_;
  int screen_;
  std::map<Window, XftDraw*> draws_;
  std::map<std::tuple<Text, int, int, bool>, XftFont*> fonts_;
};

}  // namespace

}  // namespace kantrell

// The module shows nothing else: every other symbol stays hidden.
extern "C" __attribute__((visibility("default"))) kantrell::X11Drawing* kantrell_x11_drawing(
    Display* display) {
  return new kantrell::XftDrawing(display);
}
