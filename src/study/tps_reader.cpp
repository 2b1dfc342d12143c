#include "study/tps_reader.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "study/delimited_table.h"

namespace lumivar::study {

namespace {

struct TpsLine {
  std::size_t number = 0;  // 1-based
  std::string_view text;   // trimmed
  std::string key;         // lower case, empty for a line without KEY=
  std::string_view value;  // trimmed text after '='
};

std::vector<TpsLine> tps_lines(std::string_view text) {
  std::vector<TpsLine> lines;
  std::size_t pos = 0;
  std::size_t number = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    TpsLine l;
    l.number = number;
    l.text = trimmed(text.substr(pos, end - pos));
    pos = end + 1;
    if (l.text.empty()) continue;
    const std::size_t eq = l.text.find('=');
    if (eq != std::string_view::npos) {
      const std::string_view key = trimmed(l.text.substr(0, eq));
      bool word = !key.empty();
      for (char c : key) word = word && (std::isalnum(static_cast<unsigned char>(c)) != 0);
      if (word) {
        l.key = lower_case(key);
        l.value = trimmed(l.text.substr(eq + 1));
      }
    }
    lines.push_back(l);
  }
  return lines;
}

class TpsParser {
 public:
  TpsParser(std::string_view text, const std::string& file, const LandmarkReadOptions& options)
      : lines_(tps_lines(without_bom(text))), file_(file), options_(options) {}

  LandmarkFile parse() {
    LandmarkFile f{file_, {}};
    while (next_ < lines_.size()) f.entries.push_back(block());
    if (semilandmarks_ > 0 && !options_.semilandmarks_as_landmarks)
      runtime::raise("The TPS file " + file_ + " holds " + std::to_string(semilandmarks_) +
                     " semilandmarks on " + std::to_string(curves_) + " curves in " +
                     std::to_string(specimens_with_curves_) +
                     " specimens. Semilandmarks slide along their curves and are not analysed as "
                     "landmarks unless you ask for it; otherwise remove the CURVES= blocks.");
    return f;
  }

 private:
  [[noreturn]] void fail(const TpsLine& l, const std::string& problem) const {
    runtime::raise("File " + file_ + ", line " + std::to_string(l.number) + ": " + problem);
  }

  // A count after LM=, CURVES= or POINTS=: a whole number no larger than
  // the lines left, so a damaged count cannot ask for more than the file has.
  std::size_t count(const TpsLine& l) const {
    const std::optional<double> v = runtime::parse_number(l.value);
    const double left = static_cast<double>(lines_.size() - next_);
    if (!v || !(*v >= 0) || std::floor(*v) != *v)
      fail(l, "\"" + std::string(l.text) + "\" should give a whole number.");
    if (*v > left)
      fail(l, "\"" + std::string(l.text) + "\" announces more points than there are lines after it (" +
                  std::to_string(lines_.size() - next_) + ").");
    return static_cast<std::size_t>(*v);
  }

  // Reads the `n` lines of x y that `announced` announced onto `xy`.
  void points(std::size_t n, const TpsLine& announced, std::vector<double>& xy) {
    for (std::size_t i = 1; i <= n; ++i) {  // count() made sure the lines are there
      const TpsLine& l = lines_[next_++];
      const runtime::NumberRow row = runtime::parse_number_row(l.text);
      if (!row.ok() || row.values.size() != 2)
        fail(l, "expected the x and y of point " + std::to_string(i) + " of " + std::to_string(n) +
                    " announced at line " + std::to_string(announced.number) + ", found \"" +
                    std::string(l.text.substr(0, 40)) + "\".");
      xy.insert(xy.end(), row.values.begin(), row.values.end());
    }
  }

  std::size_t semilandmark_curves(const TpsLine& curves_line, std::vector<double>& semis) {
    const std::size_t c = count(curves_line);
    for (std::size_t k = 0; k < c; ++k) {
      if (next_ >= lines_.size() || lines_[next_].key != "points")
        fail(next_ < lines_.size() ? lines_[next_] : curves_line,
             "curve " + std::to_string(k + 1) + " of the CURVES= at line " +
                 std::to_string(curves_line.number) + " should start with POINTS=.");
      const TpsLine& p = lines_[next_++];
      points(count(p), p, semis);
    }
    return c;
  }

  static std::string image_id(std::string_view image) {
    const std::size_t slash = image.find_last_of("/\\");
    if (slash != std::string_view::npos) image.remove_prefix(slash + 1);
    const std::size_t dot = image.rfind('.');
    if (dot != std::string_view::npos && dot > 0) image = image.substr(0, dot);
    return std::string(image);
  }

  LandmarkEntry block() {
    const TpsLine& lm = lines_[next_++];
    if (lm.key == "lm3") fail(lm, "three-dimensional landmarks (LM3=) cannot be analysed; Lumivar reads two dimensions.");
    if (lm.key != "lm" && lm.key != "lm2")
      fail(lm, "a TPS specimen starts with LM=; found \"" + std::string(lm.text.substr(0, 40)) + "\".");
    LandmarkEntry e;
    e.line = lm.number;
    points(count(lm), lm, e.xy);
    std::vector<double> semis;
    std::optional<std::string> id, image;
    double scale = 1;
    while (next_ < lines_.size() && lines_[next_].key != "lm" && lines_[next_].key != "lm2" &&
           lines_[next_].key != "lm3") {
      const TpsLine& l = lines_[next_++];
      if (l.key == "curves") {
        curves_ += semilandmark_curves(l, semis);
      } else if (l.key == "id") {
        if (id) fail(l, "the specimen of line " + std::to_string(e.line) + " has a second ID=.");
        id = std::string(l.value);
      } else if (l.key == "image") {
        image = image_id(l.value);
      } else if (l.key == "scale") {
        if (l.value.empty()) continue;  // some digitisers write SCALE= with no value: unscaled
        const std::optional<double> s = runtime::parse_number(l.value);
        if (!s || !std::isfinite(*s) || *s <= 0) fail(l, "SCALE= should give a positive number.");
        scale = *s;
      } else if (l.key == "comment") {
      } else if (l.key.empty()) {
        fail(l, "expected LM=, CURVES=, IMAGE=, ID=, SCALE= or COMMENT=; found \"" +
                    std::string(l.text.substr(0, 40)) + "\" (more points than LM= announced?).");
      } else {
        fail(l, "\"" + std::string(l.text.substr(0, 40)) +
                    "\" is not an entry Lumivar reads (LM=, CURVES=, POINTS=, IMAGE=, ID=, SCALE=, "
                    "COMMENT=).");
      }
    }
    if (!semis.empty()) {
      semilandmarks_ += semis.size() / 2;
      ++specimens_with_curves_;
      e.xy.insert(e.xy.end(), semis.begin(), semis.end());
    }
    for (double& v : e.xy) v *= scale;
    e.id = id && !id->empty() ? *id : image.value_or("");
    return e;
  }

  std::vector<TpsLine> lines_;
  const std::string& file_;
  LandmarkReadOptions options_;
  std::size_t next_ = 0;
  std::size_t semilandmarks_ = 0;
  std::size_t curves_ = 0;
  std::size_t specimens_with_curves_ = 0;
};

}  // namespace

LandmarkFile parse_tps(std::string_view text, const std::string& file, const LandmarkReadOptions& options) {
  return TpsParser(text, file, options).parse();
}

}  // namespace lumivar::study
