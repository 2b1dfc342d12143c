#include "window/isvarname.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/function_table.h"
#include "runtime/headless/headless_runtime.h"
#include "support/error_message.h"
#include "window/by_name.h"
#include "window/iskeyword.h"

namespace lumivar::window {
namespace {

using runtime::List;
using runtime::Matrix;
using runtime::Value;

bool var(const Value& v) { return isvarname(v) == Value::logical(true); }
bool key(const Value& v) { return iskeyword(v) == Value::logical(true); }

TEST(IsKeyword, ListsTheSeventeenWordsInOrder) {
  const List words = iskeyword();
  const char* expected[] = {"break",      "case",   "catch",    "continue", "else", "elseif",
                            "end",        "for",    "function", "global",   "if",   "otherwise",
                            "persistent", "return", "switch",   "try",      "while"};
  ASSERT_EQ(words.items().size(), 17u);
  for (std::size_t i = 0; i < 17; ++i) {
    EXPECT_EQ(words.items()[i], Value(expected[i])) << i;
    EXPECT_TRUE(key(words.items()[i])) << expected[i];
    EXPECT_FALSE(var(words.items()[i])) << expected[i];
  }
}

TEST(IsKeyword, ComparesWholeTextsCaseSensitively) {
  EXPECT_FALSE(key(Value("End")));
  EXPECT_FALSE(key(Value("ends")));
  EXPECT_FALSE(key(Value("")));
  EXPECT_FALSE(key(Value(3.0)));
  EXPECT_FALSE(key(Value(List({Value("end")}))));
}

TEST(IsVarname, AcceptsIdentifiersOnly) {
  EXPECT_TRUE(var(Value("Abc_9")));
  EXPECT_TRUE(var(Value("a_1")));
  EXPECT_TRUE(var(Value("End")));  // reserved words are lower case only
  EXPECT_TRUE(var(Value(std::string(31, 'a'))));
  EXPECT_FALSE(var(Value(std::string(32, 'a'))));
  EXPECT_FALSE(var(Value("9abc")));
  EXPECT_FALSE(var(Value("_abc")));
  EXPECT_FALSE(var(Value("my box")));
  EXPECT_FALSE(var(Value("for")));
  EXPECT_FALSE(var(Value("")));
  // Not texts of one row: never an identifier, and no error.
  EXPECT_FALSE(var(Value(List({Value("ab"), Value("cd")}))));
  EXPECT_FALSE(var(Value(7.0)));
  EXPECT_FALSE(var(Value(Matrix())));
}

TEST(WindowByName, ArgumentCountsAreRefusedWithTheFixedText) {
  runtime::headless::HeadlessRuntime ui;
  runtime::FunctionTable table;
  table.add(isvarname_entry(ui));
  table.add(iskeyword_entry(ui));
  table.add(movegui_entry(ui));
  EXPECT_EQ(table.call("iskeyword", {}, 1).at(0).list().items().size(), 17u);
  EXPECT_EQ(table.call("isvarname", {Value("Abc_9")}, 1).at(0), Value::logical(true));
  auto message = [&](const char* name, const runtime::Args& args, int nargout) {
    return testing::error_message([&] { table.call(name, args, nargout); });
  };
  EXPECT_EQ(message("iskeyword", {Value("a"), Value("b")}, 1),
            "Run-time Error: File: iskeyword Line: 1 Column: 1 The function \"iskeyword\" was "
            "called with more than the declared number of inputs (1).");
  EXPECT_EQ(message("isvarname", {}, 1), "Not enough input arguments.");
  EXPECT_EQ(message("movegui", {}, 1),
            "Run-time Error: File: movegui Line: 1 Column: 1 The function \"movegui\" was called "
            "with more than the declared number of outputs (0).");
}

}  // namespace
}  // namespace lumivar::window
