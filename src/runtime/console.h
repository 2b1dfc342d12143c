#pragma once
// The program's console: where error messages and the box callbacks' lines go.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::runtime {

class Console {
 public:
  virtual ~Console() = default;
  virtual void write_line(std::string_view line) = 0;
};

// Writes each line to a stream (standard output for the window program).
class StreamConsole : public Console {
 public:
  explicit StreamConsole(std::ostream& out) : out_(out) {}
  void write_line(std::string_view line) override { out_ << line << '\n' << std::flush; }

 private:
  std::ostream& out_;
};

// Keeps the lines, for tests.
class RecordingConsole : public Console {
 public:
  void write_line(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

}  // namespace lumivar::runtime
