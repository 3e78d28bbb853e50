// The outline of the skin: four pointed corners joined by four edges that bow
// inward, each edge a graph over its own axis. Coordinates are pixels of the
// 250 x 250 picture; a pixel (x, y) is inside when its centre (x + 0.5,
// y + 0.5) is.
#pragma once

namespace fader::skin {

// The four edges, as the picture's outline runs.
enum class Edge { kTop, kRight, kBottom, kLeft };

// One edge: a straight line between its two corners, pulled inward by `sag`
// pixels at `middle` (a coordinate along the edge's own axis), less and less
// towards the corners.
struct EdgeShape {
  double from;         // first corner, along the edge's axis
  double to;           // second corner
  double middle;       // where the bow is deepest
  double line_from;    // the straight line's cross coordinate at `from`
  double line_to;      // ... and at `to`
  double sag;          // depth of the bow at `middle`, inward positive
};

struct Outline {
  EdgeShape top;     // axis x, cross coordinate y, inward is +y
  EdgeShape right;   // axis y, cross coordinate x, inward is -x
  EdgeShape bottom;  // axis x, cross coordinate y, inward is -y
  EdgeShape left;    // axis y, cross coordinate x, inward is +x
};

// The outline of the window's skin.
Outline SkinOutline();

// The cross coordinate of an edge at a point of its axis; beyond the corners
// the straight line goes on unbowed.
double EdgeAt(const EdgeShape& e, double along, bool inward_positive);

// Whether a point lies inside the outline.
bool Inside(const Outline& o, double x, double y);

// Distance from a point to one edge (between its corners).
double DistanceToEdge(const Outline& o, Edge edge, double x, double y);

// The same outline scaled into a square of side `size` pixels (the icon's).
Outline IconOutline(double size);

}  // namespace fader::skin
