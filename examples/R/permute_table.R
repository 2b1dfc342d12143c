# A permutation test and the tests by strata on the example study, from R.
#
# Runs lumivar-batch, reads its table (one row per term) with read.csv and
# prints it as a data frame. The seed is read from the run's text report
# (its last line), so that the run can be repeated with --seed.
#
#   Rscript examples/R/permute_table.R
#
# Run it from the repository root. The tool is build/src/batch/lumivar-batch,
# or the one named by the environment variable LUMIVAR_BATCH.
tool <- Sys.getenv("LUMIVAR_BATCH", "build/src/batch/lumivar-batch")
study <- c("--data", "examples/landmarks.txt", "--reps", "examples/reps.txt",
           "--groups", "examples/groups.txt")

lumivar_batch <- function(...) {
  out <- suppressWarnings(system2(tool, c(..., "--quiet"), stdout = TRUE, stderr = FALSE))
  status <- attr(out, "status")
  if (!is.null(status) && status != 0) stop("lumivar-batch exited with status ", status)
  out
}

# A run without --seed: its last line names the seed that was drawn.
report <- lumivar_batch("permute", study, "--permutations", "999", "--strata")
seed <- sub("^Seed: ([0-9]+) .*$", "\\1", report[length(report)])

# The same run from that seed, as a table.
table <- read.csv(text = lumivar_batch("permute", study, "--permutations", "999",
                                       "--strata", "--seed", seed, "--format", "csv"))
print(table[, c("stratum", "term", "ss", "df", "f", "p", "z", "partial_r2")], row.names = FALSE)
cat("\nseed", seed, "\n")

# With jsonlite, the JSON report gives the same table and the seed as text
# ("seed_text"): the number "seed" loses digits in R above 2^53.
if (requireNamespace("jsonlite", quietly = TRUE)) {
  report <- jsonlite::fromJSON(paste(lumivar_batch("permute", study, "--permutations", "999",
                                                   "--strata", "--seed", seed, "--format", "json"),
                                     collapse = "\n"))
  stopifnot(identical(report$seed_text, seed), isTRUE(all.equal(report$table$p, table$p)))
  cat("the JSON report names the same seed and gives the same P values\n")
}
