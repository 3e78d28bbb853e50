#include "window/layout.h"

#include <algorithm>
#include <cmath>

#include "base/overflow_error.h"

namespace fader::layout {
namespace {

bool CanTakeFocus(Kind kind) { return kind == Kind::kTextBox || kind == Kind::kButton3D; }

}  // namespace

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
                                        const std::function<bool(ControlId)>& available) {
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
    if (available && !available(id)) continue;
    return id;
  }
  return std::nullopt;
}

std::int32_t FontHeightForDpi(double points, int dots_per_inch) {
  const double px = std::nearbyint(points * dots_per_inch / 72.0);
  if (!(px >= 0.0 && px <= 32767.0)) throw OverflowError("font height out of range");
  return -static_cast<std::int32_t>(px);
}

PixelRect ToPixels(const Rect& r, TwipsPerPixel tpp) {
  return {TwipsToPixels(r.left, tpp.x), TwipsToPixels(r.top, tpp.y), TwipsToPixels(r.width, tpp.x),
          TwipsToPixels(r.height, tpp.y)};
}

}  // namespace fader::layout
