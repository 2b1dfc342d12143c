#pragma once
// Small files written for one test into a fresh folder that is removed afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace lumivar::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("lumivar-test-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes `content` byte for byte and returns the file's full path.
  std::string write(const std::string& name, const std::string& content) const {
    const auto p = path_ / name;
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Restores the working folder, which every load changes.
class KeepWorkingFolder {
 public:
  KeepWorkingFolder() : saved_(std::filesystem::current_path()) {}
  ~KeepWorkingFolder() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

}  // namespace lumivar::testing
