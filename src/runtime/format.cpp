#include "runtime/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <variant>

#include "runtime/error.h"

namespace lumivar::runtime {
namespace detail {

using Item = std::variant<double, const std::string*>;

void flatten(const Value& v, std::vector<Item>& out) {
  if (v.is_text()) {
    out.emplace_back(&v.text());
  } else if (v.is_matrix()) {
    for (double d : v.matrix().values()) out.emplace_back(d);
  } else if (v.is_list()) {
    for (const Value& x : v.list().items()) flatten(x, out);
  } else {
    raise("A record cannot be formatted as text.");
  }
}

struct Spec {
  std::string flags;
  std::string width;
  std::string precision;  // without the dot; `has_precision` tells whether a dot was given
  bool has_precision = false;
  char conversion = 0;  // 0: incomplete conversion (no conversion character)
};

// Parses a conversion starting after '%' at fmt[pos]; leaves pos after it.
Spec parse_spec(std::string_view fmt, std::size_t& pos) {
  Spec s;
  while (pos < fmt.size() && std::string_view("-+ 0#").find(fmt[pos]) != std::string_view::npos)
    s.flags += fmt[pos++];
  while (pos < fmt.size() && fmt[pos] >= '0' && fmt[pos] <= '9') s.width += fmt[pos++];
  if (pos < fmt.size() && fmt[pos] == '.') {
    s.has_precision = true;
    ++pos;
    while (pos < fmt.size() && fmt[pos] >= '0' && fmt[pos] <= '9') s.precision += fmt[pos++];
  }
  while (pos < fmt.size() && (fmt[pos] == 'l' || fmt[pos] == 'h')) ++pos;
  if (pos < fmt.size() && std::string_view("diouxXfFeEgGcs").find(fmt[pos]) != std::string_view::npos)
    s.conversion = fmt[pos++];
  return s;
}

std::string pad(const std::string& text, const Spec& s) {
  const std::size_t width = s.width.empty() ? 0 : std::stoul(s.width);
  if (text.size() >= width) return text;
  const std::string fill(width - text.size(), ' ');
  return s.flags.find('-') != std::string::npos ? text + fill : fill + text;
}

std::string c_format(const std::string& spec, double v) {
  char buf[512];
  int n = std::snprintf(buf, sizeof buf, spec.c_str(), v);
  if (n >= 0 && static_cast<std::size_t>(n) < sizeof buf) return std::string(buf, n);
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), spec.c_str(), v);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

std::string shortest(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string format_number(const Spec& s, double v) {
  if (std::isnan(v)) return pad("NaN", s);
  if (std::isinf(v)) {
    std::string t = v < 0 ? "-Inf" : (s.flags.find('+') != std::string::npos ? "+Inf" : "Inf");
    return pad(t, s);
  }
  std::string prec = s.has_precision ? "." + (s.precision.empty() ? "0" : s.precision) : "";
  switch (s.conversion) {
    case 'd': case 'i': case 'u':
      if (v == std::floor(v)) {
        std::string flags;
        for (char f : s.flags)
          if (f != '#') flags += f;
        return c_format("%" + flags + s.width + ".0f", v);
      }
      return c_format("%" + s.flags + s.width + prec + "f", v);
    case 'o': case 'x': case 'X': case 'c':
      if (v == std::floor(v) && v >= 0 && v < 9.2e18) {
        char buf[128];
        const std::string spec = "%" + s.flags + s.width + prec + (s.conversion == 'c' ? "c" : std::string("ll") + s.conversion);
        if (s.conversion == 'c') {
          std::snprintf(buf, sizeof buf, spec.c_str(), static_cast<int>(v));
        } else {
          std::snprintf(buf, sizeof buf, spec.c_str(), static_cast<long long>(v));
        }
        return buf;
      }
      return c_format("%" + s.flags + s.width + prec + "f", v);
    case 's':
      return pad(shortest(v), s);
    default:
      return c_format("%" + s.flags + s.width + prec + s.conversion, v);
  }
}

std::string format_text(const Spec& s, const std::string& t) {
  if (s.has_precision && !s.precision.empty()) {
    return pad(t.substr(0, std::stoul(s.precision)), s);
  }
  return pad(t, s);
}

}  // namespace detail

std::string format(std::string_view fmt, const std::vector<Value>& values) {
  std::vector<detail::Item> items;
  for (const Value& v : values) detail::flatten(v, items);

  std::string out;
  std::size_t next = 0;
  while (true) {
    std::size_t pos = 0;
    bool consumed_any = false;
    while (pos < fmt.size()) {
      const char c = fmt[pos];
      if (c == '\\' && pos + 1 < fmt.size()) {
        const char e = fmt[pos + 1];
        if (e == 'n') { out += '\n'; pos += 2; continue; }
        if (e == 't') { out += '\t'; pos += 2; continue; }
        if (e == '\\') { out += '\\'; pos += 2; continue; }
        out += c;
        ++pos;
        continue;
      }
      if (c != '%') {
        out += c;
        ++pos;
        continue;
      }
      if (pos + 1 < fmt.size() && fmt[pos + 1] == '%') {
        out += '%';
        pos += 2;
        continue;
      }
      const std::size_t start = pos;
      ++pos;
      const detail::Spec spec = detail::parse_spec(fmt, pos);
      if (next >= items.size()) return out;  // values ran out: stop before this conversion
      if (spec.conversion == 0) {
        out.append(fmt.substr(start, pos - start));  // incomplete conversion: literal text
        continue;
      }
      const detail::Item& item = items[next++];
      consumed_any = true;
      if (const double* d = std::get_if<double>(&item)) {
        out += detail::format_number(spec, *d);
      } else {
        out += detail::format_text(spec, *std::get<const std::string*>(item));
      }
    }
    if (!consumed_any || next >= items.size()) return out;
  }
}

std::string join(const std::vector<std::string>& pieces) {
  std::string out;
  for (const std::string& p : pieces) {
    std::size_t end = p.size();
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\t' || p[end - 1] == '\n')) --end;
    out.append(p, 0, end);
  }
  return out;
}

}  // namespace lumivar::runtime
