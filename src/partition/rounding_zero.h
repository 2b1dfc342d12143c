#pragma once
// What counts as zero. Every superimposed configuration has unit centroid
// size, so a squared Procrustes distance is at most 2 and a sum of squares
// over m rows is at most of order m; the sums are differences of such sums,
// so their rounding error is a few hundred ulps of m at most. A sum below
// that level carries no information: it is reported as exactly zero, never
// as a small or negative number, and both ways to the sums (the distance
// matrix and the coordinates) then print the same text.
//
// Every analysis (the specified table, both permutation engines, the tests by
// strata) asks this one home; no other code decides what is zero.
namespace lumivar::partition {

// The rounding level of sums of squares over `rows` superimposed
// configurations whose total sum of squares is `sstotal`.
double rounding_level(double rows, double sstotal);

// `ss` when it is above `level`; 0 when it is below it, negative included;
// NaN stays NaN.
double clean_sum(double ss, double level);

// num / den, or NaN when the denominator is zero, negative or not finite:
// an F ratio or a repeatability whose denominator vanished cannot be computed.
double ratio_or_nan(double num, double den);

}  // namespace lumivar::partition
