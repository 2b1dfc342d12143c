#include "runtime/function_table.h"

#include <gtest/gtest.h>

#include "runtime/error.h"
#include "support/error_message.h"

namespace lumivar::runtime {
namespace {

TEST(FunctionTable, RefusesMoreInputsOrOutputsThanDeclared) {
  FunctionTable t;
  t.add({"dload", 1, 1, [](const Args&, int) { return Results{Value(1.0)}; }});
  t.add({"lumivarsw", 1, 0, [](const Args&, int) { return Results{}; }});
  t.add({"distchck", kOneThenAny, kOneThenAny, [](const Args& a, int) { return Results(a.size(), Value(0.0)); }});
  EXPECT_ERROR_MSG(t.call("dload", {Value("a"), Value("b")}, 1),
            "Run-time Error: File: dload Line: 1 Column: 1 The function \"dload\" was called with "
            "more than the declared number of inputs (1).");
  EXPECT_ERROR_MSG(t.call("lumivarsw", {Value("Load")}, 1),
            "Run-time Error: File: lumivarsw Line: 1 Column: 1 The function \"lumivarsw\" was "
            "called with more than the declared number of outputs (0).");
  EXPECT_NO_THROW(t.call("distchck", Args(9, Value(1.0)), 9));
  EXPECT_ERROR_MSG(t.call("nosuch", {}, 0), "Undefined function 'nosuch'.");
  // A private routine carries its own file and line.
  EXPECT_EQ(too_many_arguments_text("guidata/getParentFigure", 99, "guidata/getParentFigure", true, 1),
            "Run-time Error: File: guidata/getParentFigure Line: 99 Column: 1 The function "
            "\"guidata/getParentFigure\" was called with more than the declared number of outputs (1).");
}

TEST(FunctionTable, KeepsItsOrderAndTrimsResultsToWhatWasAskedFor) {
  FunctionTable t;
  t.add({"b", 0, 2, [](const Args&, int) { return Results{Value(1.0), Value(2.0)}; }});
  t.add({"a", 0, 1, [](const Args&, int) { return Results{}; }});
  ASSERT_EQ(t.entries().size(), 2u);
  EXPECT_EQ(t.entries()[0].name, "b");
  EXPECT_EQ(t.call("b", {}, 1).size(), 1u);
  EXPECT_EQ(t.call("b", {}, 2).size(), 2u);
}

}  // namespace
}  // namespace lumivar::runtime
