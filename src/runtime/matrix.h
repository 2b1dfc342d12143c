#pragma once
// Double-precision matrix, column-major, r x c. A scalar is 1x1, empty is 0x0.
// Element access is 1-based, as positions and codes are 1-based throughout the
// program: (i, j) for row i, column j, and (k) for the k-th element in column
// order. operator() does not check bounds (hot loops use it); at() does and
// raises an Error naming the index.
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace lumivar::runtime {

class Matrix {
 public:
  Matrix() = default;
  Matrix(std::size_t rows, std::size_t cols, double fill = 0.0);

  static Matrix scalar(double v);
  static Matrix column(std::vector<double> values);
  static Matrix row(std::vector<double> values);
  // Rows given in reading order: Matrix::rows_of({{1, 2}, {3, 4}}).
  static Matrix rows_of(std::initializer_list<std::initializer_list<double>> rows);

  std::size_t rows() const { return rows_; }
  std::size_t cols() const { return cols_; }
  std::size_t numel() const { return values_.size(); }
  bool empty() const { return values_.empty(); }
  // A matrix counts as a scalar when the product of its dimensions is exactly 1.
  bool is_scalar() const { return values_.size() == 1; }

  double& operator()(std::size_t i, std::size_t j) { return values_[(j - 1) * rows_ + (i - 1)]; }
  double operator()(std::size_t i, std::size_t j) const {
    return values_[(j - 1) * rows_ + (i - 1)];
  }
  double& operator()(std::size_t k) { return values_[k - 1]; }
  double operator()(std::size_t k) const { return values_[k - 1]; }

  // Checked reads: an index outside the matrix raises an Error.
  double at(std::size_t i, std::size_t j) const;
  double at(std::size_t k) const;

  // Stores element k (1-based, column order); storing past the end of a vector
  // (or of an empty matrix) grows it, keeping its orientation, zero-filled.
  void set_grow(std::size_t k, double v);

  // Column j (1-based) as an r x 1 matrix; raises when j is outside the matrix.
  Matrix column_of(std::size_t j) const;
  // Rows first..last (1-based, inclusive) of every column.
  Matrix row_range(std::size_t first, std::size_t last) const;
  // This matrix stacked on top of `below` (same number of columns).
  Matrix stacked(const Matrix& below) const;

  double* data() { return values_.data(); }
  const double* data() const { return values_.data(); }
  const std::vector<double>& values() const { return values_; }

  // Same size and bitwise-equal doubles except that NaN never equals NaN.
  friend bool operator==(const Matrix& a, const Matrix& b) {
    return a.rows_ == b.rows_ && a.cols_ == b.cols_ && a.values_ == b.values_;
  }

 private:
  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
  std::vector<double> values_;
};

}  // namespace lumivar::runtime
