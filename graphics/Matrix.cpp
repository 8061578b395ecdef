#include "graphics/Matrix.h"

#include <cmath>
#include <numbers>

namespace plugkit::gfx {

Matrix& Matrix::Transform(const Matrix& o) {
  const Matrix m = *this;
  xx = m.xx * o.xx + m.xy * o.yx;
  yx = m.yx * o.xx + m.yy * o.yx;
  xy = m.xx * o.xy + m.xy * o.yy;
  yy = m.yx * o.xy + m.yy * o.yy;
  tx = m.xx * o.tx + m.xy * o.ty + m.tx;
  ty = m.yx * o.tx + m.yy * o.ty + m.ty;
  return *this;
}

Matrix& Matrix::Translate(double x, double y) {
  return Transform(Matrix{1.0, 0.0, 0.0, 1.0, x, y});
}

Matrix& Matrix::Scale(double x, double y) { return Transform(Matrix{x, 0.0, 0.0, y, 0.0, 0.0}); }

Matrix& Matrix::Rotate(double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  return Transform(Matrix{c, s, -s, c, 0.0, 0.0});
}

bool Matrix::Invert() {
  const double det = xx * yy - xy * yx;
  if (det == 0.0 || !std::isfinite(det)) return false;
  const Matrix m = *this;
  xx = m.yy / det;
  yx = -m.yx / det;
  xy = -m.xy / det;
  yy = m.xx / det;
  tx = (m.xy * m.ty - m.yy * m.tx) / det;
  ty = (m.yx * m.tx - m.xx * m.ty) / det;
  return true;
}

void Matrix::TransformPoint(double& x, double& y) const {
  const double px = x;
  x = xx * px + xy * y + tx;
  y = yx * px + yy * y + ty;
}

void Matrix::TransformPoint(float& x, float& y) const {
  double dx = x, dy = y;
  TransformPoint(dx, dy);
  x = static_cast<float>(dx);
  y = static_cast<float>(dy);
}

}  // namespace plugkit::gfx
