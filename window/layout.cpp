#include "window/layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/fade.h"

namespace fader::layout {

std::optional<ControlId> SwatchForColor(int number) {
  switch (number) {
    case 1: return kColor1;
    case 2: return kColor2;
    case 3: return kColor3;
    case 4: return kColor4;
    case 5: return kColor5;
    default: return std::nullopt;
  }
}

bool CanTakeFocus(Kind kind) { return kind == Kind::kTextBox || kind == Kind::kButton3D; }

std::array<ControlId, 13> TabOrder() {
  std::array<ControlId, 13> order{};
  std::size_t n = 0;
  for (int i = 0; i < kControlCount; ++i) {
    if (kControls[i].tab_index >= 0) order[n++] = static_cast<ControlId>(i);
  }
  std::sort(order.begin(), order.end(),
            [](ControlId a, ControlId b) { return kControls[a].tab_index < kControls[b].tab_index; });
  return order;
}

std::optional<ControlId> NextInTabOrder(std::optional<ControlId> current, bool forward,
                                        bool (*available)(ControlId, void*), void* context) {
  const auto order = TabOrder();
  const int n = static_cast<int>(order.size());
  int pos = -1;
  if (current) {
    const auto it = std::find(order.begin(), order.end(), *current);
    if (it != order.end()) pos = static_cast<int>(it - order.begin());
  }
  if (pos < 0) pos = forward ? -1 : n;  // so that the first step lands on an end
  for (int step = 1; step <= n; ++step) {
    const int i = ((forward ? pos + step : pos - step) % n + n) % n;
    const ControlId id = order[static_cast<std::size_t>(i)];
    if (!CanTakeFocus(kControls[id].kind)) continue;
    if (available && !available(id, context)) continue;
    return id;
  }
  return std::nullopt;
}

std::int32_t TwipsToPixels(double twips, double twips_per_pixel) {
  if (!(twips_per_pixel > 0.0)) throw OverflowError("twips per pixel must be positive");
  const double px = std::nearbyint(twips / twips_per_pixel);
  if (!(px >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
        px <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
    throw OverflowError("pixel coordinate out of range");
  }
  return static_cast<std::int32_t>(px);
}

float PixelsToTwips(std::int32_t pixels, double twips_per_pixel) {
  return static_cast<float>(static_cast<double>(pixels) * twips_per_pixel);
}

double TwipsPerPixelForDpi(int dots_per_inch) {
  if (dots_per_inch <= 0) throw OverflowError("dots per inch must be positive");
  return 1440.0 / dots_per_inch;
}

std::int32_t FontHeightForDpi(double points, int dots_per_inch) {
  const double px = std::nearbyint(points * dots_per_inch / 72.0);
  if (!(px >= 0.0 && px <= 32767.0)) throw OverflowError("font height out of range");
  return -static_cast<std::int32_t>(px);
}

PixelRect ToPixels(const Rect& r, double tpp) {
  return {TwipsToPixels(r.left, tpp), TwipsToPixels(r.top, tpp), TwipsToPixels(r.width, tpp),
          TwipsToPixels(r.height, tpp)};
}

void DecodeMousePosition(std::uint32_t lparam, double twips_per_pixel, float& x, float& y) {
  const auto low = static_cast<std::int16_t>(static_cast<std::uint16_t>(lparam & 0xFFFFu));
  const auto high = static_cast<std::int16_t>(static_cast<std::uint16_t>((lparam >> 16) & 0xFFFFu));
  x = PixelsToTwips(low, twips_per_pixel);
  y = PixelsToTwips(high, twips_per_pixel);
}

}  // namespace fader::layout
