#include "runtime/matrix.h"

#include <string>

#include "runtime/error.h"

namespace lumivar::runtime {

Matrix::Matrix(std::size_t rows, std::size_t cols, double fill)
    : rows_(rows), cols_(cols), values_(rows * cols, fill) {}

Matrix Matrix::scalar(double v) { return Matrix(1, 1, v); }

Matrix Matrix::column(std::vector<double> values) {
  Matrix m;
  m.rows_ = values.size();
  m.cols_ = values.empty() ? 0 : 1;
  m.values_ = std::move(values);
  return m;
}

Matrix Matrix::row(std::vector<double> values) {
  Matrix m;
  m.rows_ = values.empty() ? 0 : 1;
  m.cols_ = values.size();
  m.values_ = std::move(values);
  return m;
}

Matrix Matrix::rows_of(std::initializer_list<std::initializer_list<double>> rows) {
  if (rows.size() == 0) return Matrix();
  Matrix m(rows.size(), rows.begin()->size());
  std::size_t i = 1;
  for (const auto& r : rows) {
    if (r.size() != m.cols_) raise("Dimensions of the rows being joined are not consistent.");
    std::size_t j = 1;
    for (double v : r) m(i, j++) = v;
    ++i;
  }
  return m;
}

double Matrix::at(std::size_t i, std::size_t j) const {
  if (i < 1 || j < 1 || i > rows_ || j > cols_) {
    raise("Index (" + std::to_string(i) + ", " + std::to_string(j) + ") exceeds the matrix size " +
          std::to_string(rows_) + " x " + std::to_string(cols_) + ".");
  }
  return (*this)(i, j);
}

double Matrix::at(std::size_t k) const {
  if (k < 1 || k > values_.size()) {
    raise("Index " + std::to_string(k) + " exceeds the number of elements (" +
          std::to_string(values_.size()) + ").");
  }
  return values_[k - 1];
}

void Matrix::set_grow(std::size_t k, double v) {
  if (k < 1) raise("Index 0 is not a valid position; positions start at 1.");
  if (k > values_.size()) {
    if (values_.empty()) {
      rows_ = 1;
      cols_ = k;
    } else if (rows_ == 1) {
      cols_ = k;
    } else if (cols_ == 1) {
      rows_ = k;
    } else {
      raise("A matrix of " + std::to_string(rows_) + " x " + std::to_string(cols_) +
            " cannot grow to hold element " + std::to_string(k) + ".");
    }
    values_.resize(k, 0.0);
  }
  values_[k - 1] = v;
}

Matrix Matrix::column_of(std::size_t j) const {
  if (j < 1 || j > cols_) {
    raise("Column " + std::to_string(j) + " does not exist in a matrix of " +
          std::to_string(cols_) + " column" + (cols_ == 1 ? "" : "s") + ".");
  }
  Matrix c(rows_, 1);
  for (std::size_t i = 1; i <= rows_; ++i) c(i) = (*this)(i, j);
  return c;
}

Matrix Matrix::row_range(std::size_t first, std::size_t last) const {
  if (first < 1 || last > rows_ || first > last + 1) {
    raise("Rows " + std::to_string(first) + " to " + std::to_string(last) +
          " do not exist in a matrix of " + std::to_string(rows_) + " rows.");
  }
  Matrix r(last + 1 - first, cols_);
  for (std::size_t j = 1; j <= cols_; ++j)
    for (std::size_t i = first; i <= last; ++i) r(i + 1 - first, j) = (*this)(i, j);
  return r;
}

Matrix Matrix::stacked(const Matrix& below) const {
  if (empty()) return below;
  if (below.empty()) return *this;
  if (below.cols_ != cols_) raise("Dimensions of matrices being stacked are not consistent.");
  Matrix s(rows_ + below.rows_, cols_);
  for (std::size_t j = 1; j <= cols_; ++j) {
    for (std::size_t i = 1; i <= rows_; ++i) s(i, j) = (*this)(i, j);
    for (std::size_t i = 1; i <= below.rows_; ++i) s(rows_ + i, j) = below(i, j);
  }
  return s;
}

}  // namespace lumivar::runtime
