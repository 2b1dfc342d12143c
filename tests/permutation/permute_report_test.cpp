#include "permutation/permute_report.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace lumivar::permutation {
namespace {

TEST(PermuteReport, ExactText) {
  partition::Partition p;
  p.sstotal = 12.5;
  const double inf = std::numeric_limits<double>::infinity();
  // ss, df, ms, f, analytic P (not shown), per exp
  p.effects = {{{1.5, 1, 1.5, 3, 0.1, 12},
                {2.25, 2, 1.125, 2.25, 0.2, 18},
                {0.5, 0, inf, inf, 0.3, 4},
                {1.0, 1, 1.0, 2, 0.4, 8},
                {0.125, 1, 0.125, 0.25, 0.5, 1},
                {0.625, 1, 0.625, 1.25, 0.6, 5},
                {2.5, 2, 1.25, 2.5, 0.7, 20}}};
  p.ss_error = 4;
  p.df_error = 8;
  p.ms_error = 0.5;
  p.per_exp_error = 32;
  const Effects pf = {0.001, 0.5, 1, 0.25, 0.125, 0.0625, 0.03125};
  const Effects pex = {0.002, 0.75, 1, 0.5, 0.25, 0.125, 0.0625};

  // Line by line: total; blank; header; blank; G1; G2; T(rep); blank; G1xG2;
  // blank; G1xt; blank; G2xt; two blanks; G1xG2xt; two blanks; Error. Every
  // effect row ends with its Perm Ex P (the eighth conversion is cut off).
  const std::string expected =
      "For the entire data set, SS=12.500000, using 999 permuations\n"
      "\n"
      "Grouping \tSS \tdf \tMS \tF \tPer Exp \tPerm F P \tPerm Ex P\n"
      "\n"
      "G1 \t1.5000 \t1 \t1.5000 \t3.00 \t12.0000 \t0.0010 \t0.0020\n"
      "G2 \t2.2500 \t2 \t1.1250 \t2.25 \t18.0000 \t0.5000 \t0.7500\n"
      "T(rep) \t0.5000 \t0 \tInf \t Inf \t4.0000 \t1.0000 \t1.0000\n"
      "\n"
      "G1xG2 \t1.0000 \t1 \t1.0000 \t2.00 \t8.0000 \t0.2500 \t0.5000\n"
      "\n"
      "G1xt \t0.1250 \t1 \t0.1250 \t0.25 \t1.0000 \t0.1250 \t0.2500\n"
      "\n"
      "G2xt \t0.6250 \t1 \t0.6250 \t1.25 \t5.0000 \t0.0625 \t0.1250\n"
      "\n"
      "\n"
      "G1xG2xt \t2.5000 \t2 \t1.2500 \t2.50 \t20.0000 \t0.0312 \t0.0625\n"
      "\n"
      "\n"
      "Error  \t4.0000 \t8 - \t0.5000 \t -  \t32.0000";
  EXPECT_EQ(permute_report(p, 999, pf, pex), expected);

  // No relabellings: the count field shows 0.
  EXPECT_EQ(permute_report(p, 0, pf, pex).substr(0, 59),
            "For the entire data set, SS=12.500000, using 0 permuations\n");
}

}  // namespace
}  // namespace lumivar::permutation
