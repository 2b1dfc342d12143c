#pragma once
// The rotation step of the superimposition for three-dimensional landmarks:
// the proper rotation (determinant +1, never a reflection) that brings a
// configuration closest, in least squares, to a reference.
#include <array>
#include <cstddef>

namespace lumivar::geometry {

// A 3 x 3 rotation, row-major: x' = R x.
using Rotation3 = std::array<double, 9>;

namespace detail {

// The best proper rotation for the cross-product matrix `m` (row-major,
// m = sum over landmarks of r_j x_j^T, r the reference and x the
// configuration): R maximises trace(R m^T) = sum r_j . (R x_j). From the
// singular value decomposition m = U S V^T it is U diag(1, 1, det(U V^T)) V^T.
// When m has rank one (the configuration or the reference has all its
// landmarks on a line) the turn about that line is free; the rotation is then
// the smallest one that takes the configuration's line onto the reference's,
// so the same input always gives the same answer. m = 0 gives the identity;
// a non-finite m gives a rotation of NaN. O(1).
Rotation3 svd_rotation(const std::array<double, 9>& m);

// The same rotation, found faster where that is safe: when det m is well
// above zero (the usual case once configurations face the reference), the
// polar factor of m by Newton's iteration, which equals U V^T to rounding;
// otherwise svd_rotation. O(1).
Rotation3 best_rotation(const std::array<double, 9>& m);

// Rotates the k landmarks (x, y, z interleaved) of `row` in place onto `ref`
// by best_rotation of their cross-product matrix. O(k).
void rotate_onto_3d(double* row, const double* ref, std::size_t k);

}  // namespace detail

}  // namespace lumivar::geometry
