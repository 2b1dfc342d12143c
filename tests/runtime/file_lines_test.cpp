#include "runtime/file_lines.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lumivar::runtime
