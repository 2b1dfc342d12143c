#include "runtime/value.h"

#include "runtime/error.h"

namespace lumivar::runtime {

Record::Record() = default;
Record::Record(const Record&) = default;
Record::Record(Record&&) noexcept = default;
Record& Record::operator=(const Record&) = default;
Record& Record::operator=(Record&&) noexcept = default;
Record::~Record() = default;

bool Record::has(std::string_view name) const {
  for (const auto& n : names_)
    if (n == name) return true;
  return false;
}

const Value& Record::get(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == name) return values_[i];
  raise("Reference to non-existent field '" + std::string(name) + "'.");
}

void Record::set(std::string_view name, Value v) {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) {
      values_[i] = std::move(v);
      return;
    }
  }
  names_.emplace_back(name);
  values_.push_back(std::move(v));
}

bool operator==(const Record& a, const Record& b) {
  return a.names_ == b.names_ && a.values_ == b.values_;
}

List::List() = default;
List::List(std::vector<Value> items) : items_(std::move(items)) {}
List::List(const List&) = default;
List::List(List&&) noexcept = default;
List& List::operator=(const List&) = default;
List& List::operator=(List&&) noexcept = default;
List::~List() = default;

bool operator==(const List& a, const List& b) { return a.items_ == b.items_; }

bool Value::is_empty() const { return is_matrix() && std::get<Matrix>(v_).empty(); }

const Matrix& Value::matrix() const {
  if (!is_matrix()) raise("Expected a numeric value.");
  return std::get<Matrix>(v_);
}

const std::string& Value::text() const {
  if (!is_text()) raise("Expected a text value.");
  return std::get<std::string>(v_);
}

const Record& Value::record() const {
  if (!is_record()) raise("Expected a record value.");
  return std::get<Record>(v_);
}

const List& Value::list() const {
  if (!is_list()) raise("Expected a list value.");
  return std::get<List>(v_);
}

double Value::scalar() const {
  const Matrix& m = matrix();
  if (!m.is_scalar()) raise("Expected a single number.");
  return m(1);
}

}  // namespace lumivar::runtime
