#include "input/dload.h"

#include <gtest/gtest.h>

#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::input {
namespace {

using runtime::Matrix;
using testing::TempFolder;

TEST(Dload, WhereTheDataEnds) {
  TempFolder t;
  // Three lines of four numbers and an empty line at the end.
  EXPECT_EQ(dload(t.write("a", "1 2 3 4\n5 6 7 8\n9 10 11 12\n\n")).rows(), 3u);
  // An empty third line ends the data whatever follows.
  EXPECT_EQ(dload(t.write("b", "1 2\n3 4\n\n5 6\nnot read\n")), Matrix::rows_of({{1, 2}, {3, 4}}));
  // Single-digit codes, one per line: each line is data.
  EXPECT_EQ(dload(t.write("c", "1\n2\n1\n2\n")), Matrix::column({1, 2, 1, 2}));
  // A last line of one character without a line break is data, not an end
  // (a code file saved without a final newline keeps its last code).
  EXPECT_EQ(dload(t.write("d", "1\n2\n1\n2")), Matrix::column({1, 2, 1, 2}));
  // No trailing newline on a longer last line either.
  EXPECT_EQ(dload(t.write("e", "1 2\n3 4")), Matrix::rows_of({{1, 2}, {3, 4}}));
}

TEST(Dload, LineEndsAndSeparatorsOfOtherSystemsReadTheSame) {
  TempFolder t;
  const Matrix plain = dload(t.write("lf", "1 2 3\n4 5 6\n\n"));
  EXPECT_EQ(dload(t.write("crlf", "1 2 3\r\n4 5 6\r\n\r\n")), plain);
  EXPECT_EQ(dload(t.write("comma", "1,2,3\n4,5,6\n")), plain);
  EXPECT_EQ(dload(t.write("tab", "1\t2\t3\n4\t5\t6\n")), plain);
  EXPECT_EQ(dload(t.write("mixed", " 1, 2\t3 \r\n4 ,5 ,6")), plain);
  EXPECT_EQ(dload(t.write("cr", "1 2 3\r4 5 6\r\r7 8 9\r")), plain);  // CR alone ends lines too
}

TEST(Dload, MalformedLinesNameTheFileTheLineAndTheProblem) {
  TempFolder t;
  const std::string wide = t.write("wide.txt", "1 2 3\n4 5 6 7\n");
  EXPECT_ERROR_MSG(dload(wide), "File " + wide + ", line 2: the line holds 4 numbers, but the first line holds 3.");
  const std::string na = t.write("na.txt", "1 2\n3 NA\n");
  EXPECT_ERROR_MSG(dload(na), "File " + na + ", line 2: \"NA\" is not a number.");
  const std::string semi = t.write("semi.txt", "1 2;\n");
  EXPECT_ERROR_MSG(dload(semi), "File " + semi + ", line 1: \"2;\" is not a number.");
  const std::string blank = t.write("blank.txt", "1 2\n   \n");
  EXPECT_ERROR_MSG(dload(blank), "File " + blank + ", line 2: the line holds no numbers.");
}

TEST(Dload, AFileThatCannotBeOpenedIsMinusOneAndAnEmptyFileHoldsNoNumbers) {
  TempFolder t;
  const std::string missing = t.path() + "/missing.txt";
  EXPECT_EQ(dload(missing), Matrix::scalar(-1));
  EXPECT_EQ(read_numeric_file(missing).status, FileRead::Status::kCannotOpen);
  EXPECT_FALSE(read_numeric_file(missing).reason.empty());
  // A file holding the number -1 is data, and tells itself apart by its status.
  const FileRead minus_one = read_numeric_file(t.write("m1", "-1\n"));
  EXPECT_EQ(minus_one.status, FileRead::Status::kOk);
  EXPECT_EQ(minus_one.y, Matrix::scalar(-1));
  EXPECT_EQ(dload(t.path()), Matrix::scalar(-1));  // a folder is no file to read
  EXPECT_EQ(read_numeric_file(t.path()).status, FileRead::Status::kNotRegular);
  const std::string empty = t.write("empty.txt", "");
  EXPECT_EQ(read_numeric_file(empty).status, FileRead::Status::kEmpty);
  EXPECT_ERROR_MSG(dload(empty), "The file " + empty + " holds no numbers.");
}

}  // namespace
}  // namespace lumivar::input
