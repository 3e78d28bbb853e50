#include "tools/skin_gen/skin_shape.h"

#include <algorithm>
#include <cmath>

namespace fader::skin {
namespace {

// How much of the bow is left at u, where u runs from -1 (first corner) over 0
// (the deepest point) to 1 (second corner). Most of it is a narrow bump, so the
// controls near the corners keep room; a small part rises steeply right at the
// corners, which makes them pointed.
double Bow(double u) {
  const double a = std::fabs(u);
  if (a >= 1.0) return 0.0;
  constexpr double kHorn = 0.22;  // share of the steep rise at the corners
  constexpr double kTau = 0.07;   // how near the corners it rises
  constexpr double kNarrow = 5.0; // how narrow the bump in the middle is
  const double horn = (1.0 - std::exp(-(1.0 - a) / kTau)) / (1.0 - std::exp(-1.0 / kTau));
  const double bump = (1.0 - a * a) / (1.0 + kNarrow * a * a);
  return kHorn * horn + (1.0 - kHorn) * bump;
}

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

Outline SkinOutline() {
  Outline o;
  // Corners: top left (4.5, 30), top right (241.5, 30), bottom left
  // (12.5, 144), bottom right (239.5, 144), with the bottom line a little
  // lower so that the points reach row 143; the bows reach y 47 and y 125 in
  // the middle of the top and bottom, x 29 and x 218 at y 88.
  o.top = {4.5, 241.5, 123.0, 30.0, 30.0, 17.0};
  o.bottom = {12.5, 239.5, 126.0, 144.6, 144.6, 19.6};
  o.left = {30.0, 144.0, 88.0, 4.5, 12.5, 0.0};
  o.right = {30.0, 144.0, 88.0, 241.5, 239.5, 0.0};
  o.left.sag = 29.0 - EdgeAt(o.left, 88.0, true);
  o.right.sag = EdgeAt(o.right, 88.0, false) - 218.0;
  return o;
}

double EdgeAt(const EdgeShape& e, double along, bool inward_positive) {
  const double t = (along - e.from) / (e.to - e.from);
  const double line = Lerp(e.line_from, e.line_to, t);
  double u;
  if (along < e.middle) {
    u = (along - e.middle) / (e.middle - e.from);
  } else {
    u = (along - e.middle) / (e.to - e.middle);
  }
  const double bow = e.sag * Bow(u);
  return inward_positive ? line + bow : line - bow;
}

bool Inside(const Outline& o, double x, double y) {
  if (x < o.top.from || x > o.top.to) return false;
  if (y < o.left.from || y > o.left.to) return false;
  return y >= EdgeAt(o.top, x, true) && y <= EdgeAt(o.bottom, x, false) &&
         x >= EdgeAt(o.left, y, true) && x <= EdgeAt(o.right, y, false);
}

double DistanceToEdge(const Outline& o, Edge edge, double x, double y) {
  const EdgeShape* e = nullptr;
  bool horizontal = false;
  bool inward_positive = false;
  switch (edge) {
    case Edge::kTop: e = &o.top; horizontal = true; inward_positive = true; break;
    case Edge::kBottom: e = &o.bottom; horizontal = true; inward_positive = false; break;
    case Edge::kLeft: e = &o.left; horizontal = false; inward_positive = true; break;
    case Edge::kRight: e = &o.right; horizontal = false; inward_positive = false; break;
  }
  // Sampled finely enough for distances of a few pixels.
  constexpr int kSteps = 1200;
  double best = 1e9;
  for (int i = 0; i <= kSteps; ++i) {
    const double along = Lerp(e->from, e->to, static_cast<double>(i) / kSteps);
    const double cross = EdgeAt(*e, along, inward_positive);
    const double px = horizontal ? along : cross;
    const double py = horizontal ? cross : along;
    best = std::min(best, std::hypot(px - x, py - y));
  }
  return best;
}

Outline IconOutline(double size) {
  Outline o;
  const double lo = 0.5;
  const double hi = size - 0.5;
  const double mid = size / 2.0;
  const double sag = size * 0.16;
  o.top = {lo, hi, mid, lo, lo, sag};
  o.bottom = {lo, hi, mid, hi, hi, sag};
  o.left = {lo, hi, mid, lo, lo, sag};
  o.right = {lo, hi, mid, hi, hi, sag};
  return o;
}

}  // namespace fader::skin
