#include "runtime/format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <variant>

#include "runtime/error.h"

namespace lumivar::runtime {
namespace {

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

// One std::to_chars conversion of a non-negative finite number.
std::string to_chars_text(double v, std::chars_format how, int precision) {
  std::string buf(static_cast<std::size_t>(precision) + 400, '\0');  // 1e308 in full: 309 digits
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, how, precision);
  if (r.ec != std::errc()) raise("A number could not be written with " + std::to_string(precision) + " decimals.");
  buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
  return buf;
}

// The conversions f, e and g (and F, E, G) of a finite number with their
// flags, width and precision, character for character as printf writes them
// in the "C" locale. std::to_chars never looks at the locale; snprintf does,
// and the window program runs under the user's (a German one would write
// decimal commas into the reports).
std::string float_conversion(const Spec& s, double v) {
  const int precision = s.has_precision ? (s.precision.empty() ? 0 : std::stoi(s.precision)) : 6;
  const bool alternate = s.flags.find('#') != std::string::npos;
  const char conversion = static_cast<char>(std::tolower(static_cast<unsigned char>(s.conversion)));
  const double a = std::fabs(v);
  std::string body;
  if (conversion == 'f') {
    body = to_chars_text(a, std::chars_format::fixed, precision);
  } else if (conversion == 'e') {
    body = to_chars_text(a, std::chars_format::scientific, precision);
  } else {
    // %g: the exponent X that %e would show decides between the two forms,
    // with P significant digits either way.
    const int p = precision == 0 ? 1 : precision;
    body = to_chars_text(a, std::chars_format::scientific, p - 1);
    const int x = std::stoi(body.substr(body.find('e') + 1));
    if (p > x && x >= -4) body = to_chars_text(a, std::chars_format::fixed, p - 1 - x);
    if (!alternate && body.find('.') != std::string::npos) {
      const std::size_t e = std::min(body.find('e'), body.size());
      std::size_t cut = e;
      while (body[cut - 1] == '0') --cut;
      if (body[cut - 1] == '.') --cut;
      body.erase(cut, e - cut);
    }
  }
  if (alternate && body.find('.') == std::string::npos) body.insert(std::min(body.find('e'), body.size()), ".");
  if (std::isupper(static_cast<unsigned char>(s.conversion))) {
    for (char& c : body) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }

  std::string sign;
  if (std::signbit(v)) {
    sign = "-";
  } else if (s.flags.find('+') != std::string::npos) {
    sign = "+";
  } else if (s.flags.find(' ') != std::string::npos) {
    sign = " ";
  }
  const std::size_t width = s.width.empty() ? 0 : std::stoul(s.width);
  const std::size_t length = sign.size() + body.size();
  if (length < width && s.flags.find('-') == std::string::npos && s.flags.find('0') != std::string::npos)
    return sign + std::string(width - length, '0') + body;
  return pad(sign + body, s);
}

// The same with another conversion, precision or flags.
std::string float_conversion(Spec s, char conversion, const std::string& precision, double v,
                             bool keep_alternate = true) {
  s.conversion = conversion;
  s.has_precision = !precision.empty() || s.has_precision;
  s.precision = precision.empty() ? s.precision : precision;
  if (!keep_alternate) s.flags.erase(std::remove(s.flags.begin(), s.flags.end(), '#'), s.flags.end());
  return float_conversion(s, v);
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
      if (v == std::floor(v)) return float_conversion(s, 'f', "0", v, false);
      return float_conversion(s, 'f', "", v);
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
      return float_conversion(s, 'f', "", v);
    case 's':
      return pad(shortest(v), s);
    default:
      return float_conversion(s, v);
  }
}

std::string format_text(const Spec& s, const std::string& t) {
  if (s.has_precision && !s.precision.empty()) {
    return pad(t.substr(0, std::stoul(s.precision)), s);
  }
  return pad(t, s);
}

}  // namespace

std::string format(std::string_view fmt, const std::vector<Value>& values) {
  std::vector<Item> items;
  for (const Value& v : values) flatten(v, items);

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
      const Spec spec = parse_spec(fmt, pos);
      if (next >= items.size()) return out;  // values ran out: stop before this conversion
      if (spec.conversion == 0) {
        out.append(fmt.substr(start, pos - start));  // incomplete conversion: literal text
        continue;
      }
      const Item& item = items[next++];
      consumed_any = true;
      if (const double* d = std::get_if<double>(&item)) {
        out += format_number(spec, *d);
      } else {
        out += format_text(spec, *std::get<const std::string*>(item));
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
