#pragma once
// A value of the program: a matrix, a text (one row of characters), a record
// (ordered named fields, for the handles table) or a list of values (a column
// of texts such as the reserved words, or the words of a callback). Logical
// results are 1x1 matrices holding 1 or 0.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::runtime {

class Value;

// Ordered named fields. Field names compare exactly (case-sensitive).
class Record {
 public:
  Record();
  Record(const Record&);
  Record(Record&&) noexcept;
  Record& operator=(const Record&);
  Record& operator=(Record&&) noexcept;
  ~Record();

  bool has(std::string_view name) const;
  // Raises an Error when the field does not exist.
  const Value& get(std::string_view name) const;
  // Replaces the field's value, or appends a new field at the end.
  void set(std::string_view name, Value v);
  const std::vector<std::string>& names() const { return names_; }
  std::size_t size() const { return names_.size(); }
  friend bool operator==(const Record& a, const Record& b);

 private:
  std::vector<std::string> names_;
  std::vector<Value> values_;
};

// A column of values.
class List {
 public:
  List();
  explicit List(std::vector<Value> items);
  List(const List&);
  List(List&&) noexcept;
  List& operator=(const List&);
  List& operator=(List&&) noexcept;
  ~List();
  const std::vector<Value>& items() const { return items_; }
  std::vector<Value>& items() { return items_; }
  friend bool operator==(const List& a, const List& b);

 private:
  std::vector<Value> items_;
};

class Value {
 public:
  Value() : v_(Matrix()) {}
  Value(Matrix m) : v_(std::move(m)) {}                       // NOLINT: implicit by design
  Value(double d) : v_(Matrix::scalar(d)) {}                  // NOLINT
  Value(std::string s) : v_(std::move(s)) {}                  // NOLINT
  Value(const char* s) : v_(std::string(s)) {}                // NOLINT
  Value(Record r) : v_(std::move(r)) {}                       // NOLINT
  Value(List l) : v_(std::move(l)) {}                         // NOLINT
  static Value logical(bool b) { return Value(b ? 1.0 : 0.0); }

  bool is_matrix() const { return std::holds_alternative<Matrix>(v_); }
  bool is_text() const { return std::holds_alternative<std::string>(v_); }
  bool is_record() const { return std::holds_alternative<Record>(v_); }
  bool is_list() const { return std::holds_alternative<List>(v_); }
  // An empty matrix (the value of anything never stored).
  bool is_empty() const;

  // Typed access; each raises an Error naming the expected kind on a mismatch.
  const Matrix& matrix() const;
  const std::string& text() const;
  const Record& record() const;
  const List& list() const;
  // The single number of a 1x1 matrix; raises otherwise.
  double scalar() const;

  friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

 private:
  std::variant<Matrix, std::string, Record, List> v_;
};

}  // namespace lumivar::runtime
