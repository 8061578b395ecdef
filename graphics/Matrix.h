#pragma once

namespace plugkit::gfx {

// Affine 2×3 transform: x' = xx·x + xy·y + tx, y' = yx·x + yy·y + ty.
struct Matrix {
  double xx = 1.0;
  double yx = 0.0;
  double xy = 0.0;
  double yy = 1.0;
  double tx = 0.0;
  double ty = 0.0;

  friend constexpr bool operator==(const Matrix&, const Matrix&) = default;

  bool IsIdentity() const { return *this == Matrix{}; }

  // Each operation applies the new step before the existing transform (as a drawing API
  // does: later calls act in the coordinate system set up by earlier ones).
  Matrix& Translate(double x, double y);
  Matrix& Scale(double x, double y);
  Matrix& Rotate(double degrees);
  // this := this × other (other acts first on points).
  Matrix& Transform(const Matrix& other);
  // False (and unchanged) when the matrix cannot be inverted.
  bool Invert();

  void TransformPoint(double& x, double& y) const;
  void TransformPoint(float& x, float& y) const;
};

}  // namespace plugkit::gfx
