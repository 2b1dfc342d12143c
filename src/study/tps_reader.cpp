#include "study/tps_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "runtime/error.h"
#include "runtime/numbers.h"
#include "runtime/printable.h"
#include "study/coordinate_values.h"
#include "study/delimited_table.h"
#include "study/line_source.h"

namespace lumivar::study {

namespace {

struct TpsLine {
  std::size_t number = 0;  // 1-based
  std::string text;        // trimmed
  std::string key;         // lower case, empty for a line without KEY=
  std::string value;       // trimmed text after '='
};

TpsLine tps_line(std::string_view raw, std::size_t number) {
  TpsLine l;
  l.number = number;
  l.text = trimmed(raw);
  const std::size_t eq = l.text.find('=');
  if (eq != std::string::npos) {
    const std::string_view key = trimmed(std::string_view(l.text).substr(0, eq));
    bool word = !key.empty();
    for (char c : key) word = word && (std::isalnum(static_cast<unsigned char>(c)) != 0);
    if (word) {
      l.key = lower_case(key);
      l.value = trimmed(std::string_view(l.text).substr(eq + 1));
    }
  }
  return l;
}

// A count no file can hold as lines; a larger one is damage.
constexpr double kMostLines = 1e15;

// Reads the blocks as the lines stream in, holding one line ahead. A count
// (LM=, CURVES=, POINTS=) may announce more points than the file has lines
// after it; that is found once the reading goes wrong (the file ends, or a
// line is not what the count promised), and then said rather than the
// symptom, as a reading that counted the lines first would.
class TpsParser {
 public:
  TpsParser(LineSource& in, const std::string& file, const LandmarkReadOptions& options)
      : in_(in), file_(file), options_(options) {}

  LandmarkFile parse() {
    LandmarkFile f{file_, {}};
    while (more()) f.entries.push_back(block());
    f.dimensions = dimensions_ == 3 ? 3 : 2;
    if (semilandmarks_ > 0 && !options_.semilandmarks_as_landmarks)
      runtime::raise("The TPS file " + file_ + " holds " + std::to_string(semilandmarks_) +
                     " semilandmarks on " + std::to_string(curves_) + " curves in " +
                     std::to_string(specimens_with_curves_) +
                     " specimens. Semilandmarks slide along their curves and are not analysed as "
                     "landmarks unless you ask for it; otherwise remove the CURVES= blocks.");
    return f;
  }

 private:
  // A count whose points are still being read.
  struct Announced {
    std::size_t line;
    std::string text;
    double count;
    std::size_t taken;  // lines taken up to and including it
  };

  // Whether a line that is not blank follows; it is then ahead_.
  bool more() {
    if (ahead_) return true;
    std::string raw;
    while (in_.next(raw)) {
      TpsLine l = tps_line(raw, in_.number());
      if (l.text.empty()) continue;
      ahead_ = std::move(l);
      return true;
    }
    return false;
  }

  // The line ahead, moved on from; call after more() said there is one.
  TpsLine take() {
    TpsLine l = std::move(*ahead_);
    ahead_.reset();
    ++taken_;
    return l;
  }

  // Raises for the first count still being read that announces more
  // points than there are lines after it; reads the rest of the file.
  void check_announced() {
    std::size_t total = taken_ + (ahead_ ? 1 : 0);
    std::string raw;
    while (in_.next(raw))
      if (!trimmed(raw).empty()) ++total;
    for (const Announced& a : announced_) {
      const std::size_t left = total - a.taken;
      if (a.count > static_cast<double>(left))
        runtime::raise("File " + file_ + ", line " + std::to_string(a.line) + ": \"" + runtime::printable_excerpt(a.text) +
                       "\" announces more points than there are lines after it (" + std::to_string(left) +
                       ").");
    }
  }

  [[noreturn]] void fail(const TpsLine& l, const std::string& problem) {
    const std::string message = "File " + file_ + ", line " + std::to_string(l.number) + ": " + problem;
    check_announced();
    runtime::raise(message);
  }

  // A count after LM=, CURVES= or POINTS=: a whole number. It stays
  // announced, until done() is called, so that a count larger than the
  // lines left is told as such (check_announced).
  std::size_t count(const TpsLine& l) {
    const std::optional<double> v = runtime::parse_number(l.value);
    if (!v || !(*v >= 0) || std::floor(*v) != *v)
      fail(l, "\"" + runtime::printable_excerpt(l.text) + "\" should give a whole number.");
    announced_.push_back({l.number, l.text, *v, taken_});
    if (*v > kMostLines) check_announced();
    return static_cast<std::size_t>(std::min(*v, kMostLines));
  }
  void done() { announced_.pop_back(); }

  // Reads the `n` lines of x y that the line numbered `announced` announced onto `xy`.
  void points(std::size_t n, std::size_t announced, std::vector<double>& xy) {
    for (std::size_t i = 1; i <= n; ++i) {
      if (!more()) {
        check_announced();  // raises: the file ended before the announced points
        runtime::raise("File " + file_ + " ends before the points announced at line " +
                       std::to_string(announced) + ".");
      }
      const TpsLine l = take();
      const runtime::NumberRow row = runtime::parse_number_row(l.text);
      const std::size_t got = row.ok() ? row.values.size() : 0;
      // The first point read decides the file's dimension; every other
      // point must have as many coordinates.
      if (dimensions_ == 0 && (got == 2 || got == 3)) {
        dimensions_ = got;
        first_point_line_ = l.number;
      }
      if (got == 0 || got != dimensions_)
        fail(l, std::string(dimensions_ == 3 ? "expected the x, y and z of point " : "expected the x and y of point ") +
                    std::to_string(i) + " of " + std::to_string(n) + " announced at line " +
                    std::to_string(announced) + ", found \"" + runtime::printable_excerpt(l.text) + "\"" +
                    mixed_dimensions(got) + ".");
      for (double v : row.values)
        if (const std::optional<std::string> problem = coordinate_problem(v))
          fail(l, "\"" + runtime::printable_excerpt(l.text) + "\" holds a coordinate that is " + *problem +
                      "; every coordinate must be a finite number.");
      xy.insert(xy.end(), row.values.begin(), row.values.end());
    }
    done();
  }

  std::size_t semilandmark_curves(const TpsLine& curves_line, std::vector<double>& semis) {
    const std::size_t c = count(curves_line);
    for (std::size_t k = 0; k < c; ++k) {
      const bool there = more();
      if (!there || ahead_->key != "points")
        fail(there ? *ahead_ : curves_line,
             "curve " + std::to_string(k + 1) + " of the CURVES= at line " +
                 std::to_string(curves_line.number) + " should start with POINTS=.");
      const TpsLine p = take();
      points(count(p), p.number, semis);
    }
    done();
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
    const TpsLine lm = take();
    // LM2= and LM3= announce the dimension; plain LM= leaves it to the points.
    const std::size_t announced = lm.key == "lm3" ? 3 : lm.key == "lm2" ? 2 : 0;
    if (announced != 0 && dimensions_ != 0 && announced != dimensions_)
      fail(lm, std::string(announced == 3 ? "LM3= announces three" : "LM2= announces two") +
                   "-dimensional landmarks, but the points from line " + std::to_string(first_point_line_) +
                   " on have " + (dimensions_ == 3 ? "three" : "two") +
                   " coordinates; a study never mixes dimensions.");
    if (announced != 0 && dimensions_ == 0) {
      dimensions_ = announced;
      first_point_line_ = lm.number;
    }
    if (lm.key != "lm" && lm.key != "lm2" && lm.key != "lm3")
      fail(lm, "a TPS specimen starts with LM=; found \"" + runtime::printable_excerpt(lm.text) + "\".");
    LandmarkEntry e;
    e.line = lm.number;
    points(count(lm), lm.number, e.xy);
    std::vector<double> semis;
    std::optional<std::string> id, image;
    double scale = 1;
    std::optional<TpsLine> scale_line;
    while (more() && ahead_->key != "lm" && ahead_->key != "lm2" && ahead_->key != "lm3") {
      const TpsLine l = take();
      if (l.key == "curves") {
        curves_ += semilandmark_curves(l, semis);
      } else if (l.key == "id") {
        if (id) fail(l, "the specimen of line " + std::to_string(e.line) + " has a second ID=.");
        id = std::string(l.value);
      } else if (l.key == "image") {
        image = image_id(l.value);
      } else if (l.key == "scale") {
        // Two scales would leave the specimen's size to the order of the lines.
        if (scale_line)
          fail(l, "the specimen of line " + std::to_string(e.line) + " has a second SCALE= (the first at line " +
                      std::to_string(scale_line->number) + ").");
        scale_line = l;
        if (l.value.empty()) continue;  // some digitisers write SCALE= with no value: unscaled
        const std::optional<double> s = runtime::parse_number(l.value);
        if (!s || scale_problem(*s)) fail(l, "SCALE= should give a positive number.");
        scale = *s;
      } else if (l.key == "comment") {
      } else if (l.key.empty()) {
        fail(l, "expected LM=, CURVES=, IMAGE=, ID=, SCALE= or COMMENT=; found \"" +
                    runtime::printable_excerpt(l.text) + "\" (more points than LM= announced?).");
      } else {
        fail(l, "\"" + runtime::printable_excerpt(l.text) +
                    "\" is not an entry Lumivar reads (LM=, CURVES=, POINTS=, IMAGE=, ID=, SCALE=, "
                    "COMMENT=).");
      }
    }
    if (!semis.empty()) {
      semilandmarks_ += semis.size() / dimensions_;
      ++specimens_with_curves_;
      e.xy.insert(e.xy.end(), semis.begin(), semis.end());
    }
    e.id = id && !id->empty() ? *id : image.value_or("");
    if (const std::optional<std::string> problem = apply_scale(e.xy, scale))
      fail(*scale_line, "\"" + runtime::printable_excerpt(scale_line->text) + "\" " + *problem +
                            " in the specimen of line " + std::to_string(e.line) +
                            (e.id.empty() ? std::string() : " (\"" + runtime::printable_excerpt(e.id) + "\")") + ".");
    return e;
  }

  // Said after a point of `got` numbers in a file whose points have another
  // count of coordinates.
  std::string mixed_dimensions(std::size_t got) const {
    if ((got != 2 && got != 3) || first_point_line_ == 0) return "";
    return " (the points from line " + std::to_string(first_point_line_) + " on have " +
           (dimensions_ == 3 ? "three" : "two") + " coordinates; a study never mixes dimensions)";
  }

  LineSource& in_;
  const std::string& file_;
  std::size_t dimensions_ = 0;       // coordinates per point: 0 until the first point
  std::size_t first_point_line_ = 0;  // the line of that point
  LandmarkReadOptions options_;
  std::optional<TpsLine> ahead_;
  std::size_t taken_ = 0;  // lines that are not blank, taken so far
  std::vector<Announced> announced_;
  std::size_t semilandmarks_ = 0;
  std::size_t curves_ = 0;
  std::size_t specimens_with_curves_ = 0;
};

}  // namespace

LandmarkFile read_tps(LineSource& in, const std::string& file, const LandmarkReadOptions& options) {
  return TpsParser(in, file, options).parse();
}

LandmarkFile parse_tps(std::string_view text, const std::string& file, const LandmarkReadOptions& options) {
  LineSource in(text);
  return read_tps(in, file, options);
}

}  // namespace lumivar::study
