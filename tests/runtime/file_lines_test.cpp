#include "runtime/file_lines.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "runtime/error.h"
#include "runtime/sha256.h"
#include "support/temp_files.h"

namespace lumivar::runtime {
namespace {

using testing::TempFolder;

std::vector<std::string> lines_of(const std::string& path) {
  FileLines in(path);
  EXPECT_EQ(in.status(), FileLines::Status::kOpen) << in.reason();
  std::vector<std::string> out;
  std::string line;
  while (in.next(line)) out.push_back(line);
  return out;
}

using Lines = std::vector<std::string>;

TEST(FileLines, LineFeedsCarriageReturnsAndBothEndLinesAlike) {
  TempFolder t;
  const Lines two = {"1 2", "3 4"};
  EXPECT_EQ(lines_of(t.write("lf", "1 2\n3 4\n")), two);
  EXPECT_EQ(lines_of(t.write("crlf", "1 2\r\n3 4\r\n")), two);
  EXPECT_EQ(lines_of(t.write("cr", "1 2\r3 4\r")), two);  // an old spreadsheet's export
  EXPECT_EQ(lines_of(t.write("crcrlf", "1 2\r\r\n3 4\r\r\n")), two);  // converted twice
  EXPECT_EQ(lines_of(t.write("no end", "1 2\n3 4")), two);
  // Empty lines are lines, whichever end they have.
  EXPECT_EQ(lines_of(t.write("cr empty", "1\r\r2")), (Lines{"1", "", "2"}));
  EXPECT_EQ(lines_of(t.write("crlf empty", "1\r\n\r\n2")), (Lines{"1", "", "2"}));
  EXPECT_EQ(lines_of(t.write("cr lf", "1\n\r2")), (Lines{"1", "", "2"}));
  EXPECT_EQ(lines_of(t.write("three cr", "1\r\r\r2\r")), (Lines{"1", "", "", "2"}));
  EXPECT_EQ(lines_of(t.write("only lf", "\n")), (Lines{""}));
  EXPECT_TRUE(lines_of(t.write("empty", "")).empty());
}

TEST(FileLines, LinesAndLineEndsThatCrossReadBlocks) {
  TempFolder t;
  // A carriage return as the last byte of the first 64 KiB block and its
  // line feed as the first of the next: one line end, not two.
  const std::string first(65535, '7');
  std::string text = first + "\r\n" + "8\r" + std::string(200000, '9') + "\n";
  EXPECT_EQ(lines_of(t.write("blocks", text)), (Lines{first, "8", std::string(200000, '9')}));
}

TEST(FileLines, TheDigestCoversEveryByteOfTheFileReadOnce) {
  TempFolder t;
  const std::string text = "1 2\r\n3 4\r\n\r\nnotes after the data\x1b\n";
  FileLines in(t.write("a.txt", text));
  std::string line;
  ASSERT_TRUE(in.next(line));  // only the first line is consumed
  EXPECT_EQ(in.finish_sha256(), sha256_hex(text));

  const std::string big(300000, '\r');
  FileLines all(t.write("b.txt", big));
  while (all.next(line)) {
  }
  EXPECT_EQ(all.finish_sha256(), sha256_hex(big));
}

TEST(FileLines, OnlyRegularFilesAreReadAndNothingWaits) {
  TempFolder t;
  const auto refused = [](const std::string& path) {
    FileLines in(path);
    EXPECT_EQ(in.status(), FileLines::Status::kNotRegular) << path;
    std::string line;
    EXPECT_FALSE(in.next(line));
    return in.reason();
  };
  EXPECT_EQ(refused(t.path()), "a folder");
  EXPECT_EQ(refused("/dev/zero"), "a device");  // endless: would fill the memory
  EXPECT_EQ(refused("/dev/null"), "a device");
  const std::string fifo = t.path() + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(refused(fifo), "a named pipe (FIFO)");  // no writer: a plain open would wait forever

  const std::string sock = t.path() + "/sock";
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  ASSERT_LT(sock.size(), sizeof addr.sun_path);
  sock.copy(addr.sun_path, sock.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
  EXPECT_EQ(refused(sock), "a socket");
  ::close(fd);

  FileLines missing(t.path() + "/missing.txt");
  EXPECT_EQ(missing.status(), FileLines::Status::kCannotOpen);
  EXPECT_EQ(missing.reason(), "No such file or directory");
}

// What a progress hook heard, in order: (bytes read, file size).
struct Heard {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
  ReadProgress hook() {
    return [this](std::uint64_t done, std::uint64_t total) { reports.emplace_back(done, total); };
  }
  // Bytes read never go back nor pass the size, and the last report is the
  // end: all read.
  void expect_monotone_to(std::uint64_t end) const {
    ASSERT_FALSE(reports.empty());
    for (std::size_t i = 0; i < reports.size(); ++i) {
      EXPECT_LE(reports[i].first, reports[i].second) << "report " << i;
      if (i > 0) {
        EXPECT_GE(reports[i].first, reports[i - 1].first) << "report " << i;
      }
    }
    EXPECT_EQ(reports.back(), std::make_pair(end, end));
  }
};

TEST(FileLines, ProgressCountsTheBytesReadUpToTheFileSize) {
  TempFolder t;
  std::string text;
  for (int i = 0; text.size() < 300000; ++i) text += std::to_string(i) + " 1.5 -2\r\n";
  Heard heard;
  FileLines in(t.write("rows.txt", text));
  EXPECT_EQ(in.size(), text.size());
  in.on_progress(heard.hook());
  std::string line;
  std::size_t lines = 0;
  while (in.next(line)) {
    ++lines;
    // A block is reported as it is read, before its lines are handed out.
    ASSERT_FALSE(heard.reports.empty());
  }
  heard.expect_monotone_to(text.size());
  EXPECT_GE(heard.reports.size(), 5u);  // 64 KiB blocks, each reported, then the end
  for (std::size_t i = 0; i + 1 < heard.reports.size(); ++i) {
    EXPECT_EQ(heard.reports[i].second, text.size());
  }
  EXPECT_EQ(heard.reports.end()[-2].first, text.size());  // the last block, then the end once
  in.finish_sha256();
  EXPECT_EQ(heard.reports.back(), std::make_pair(std::uint64_t{text.size()}, std::uint64_t{text.size()}));

  // Stopping at the first lines and taking the digest reads on to the end.
  Heard partial;
  FileLines first(t.path() + "/rows.txt");
  first.on_progress(partial.hook());
  ASSERT_TRUE(first.next(line));
  first.finish_sha256();
  partial.expect_monotone_to(text.size());
}

TEST(FileLines, AFileThatGrowsShrinksOrHasNoSizeStillEndsAtWhatWasRead) {
  TempFolder t;
  // Grows after it was opened: the size rises with what is read.
  const std::string path = t.write("growing.txt", std::string(100000, '1') + "\n");
  Heard grew;
  {
    FileLines in(path);
    in.on_progress(grew.hook());
    std::string line;
    ASSERT_TRUE(in.next(line));
    std::ofstream(path, std::ios::app) << std::string(150000, '2') << "\n";
    while (in.next(line)) {
    }
  }
  grew.expect_monotone_to(250002);
  EXPECT_EQ(grew.reports.front().second, 100001u);

  // Shrinks: the end is what was there to read.
  const std::string shrinking = t.write("shrinking.txt", std::string(200000, '3'));
  Heard shrank;
  {
    FileLines in(shrinking);
    in.on_progress(shrank.hook());
    ASSERT_EQ(::truncate(shrinking.c_str(), 1000), 0);
    std::string line;
    while (in.next(line)) {
    }
  }
  shrank.expect_monotone_to(1000);

  // The system's own files give no size (0) yet hold lines.
  Heard unknown;
  {
    FileLines in("/proc/self/status");
    ASSERT_EQ(in.status(), FileLines::Status::kOpen);
    EXPECT_EQ(in.size(), 0u);
    in.on_progress(unknown.hook());
    std::string line;
    while (in.next(line)) {
    }
  }
  ASSERT_FALSE(unknown.reports.empty());
  unknown.expect_monotone_to(unknown.reports.back().first);
  EXPECT_GT(unknown.reports.back().first, 0u);
}

TEST(FileLines, AHookThatRaisesStopsTheRead) {
  TempFolder t;
  FileLines in(t.write("rows.txt", std::string(200000, '4') + "\n5\n"));
  int calls = 0;
  in.on_progress([&](std::uint64_t, std::uint64_t) {
    if (++calls == 2) raise("stop");
  });
  std::string line;
  EXPECT_THROW(in.next(line), Error);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace lumivar::runtime
