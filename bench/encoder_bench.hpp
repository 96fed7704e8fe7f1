#pragma once

// The computer as encoder: for a fixed list of conditions, the build of the candidate list and
// one class pass against the plain reference, and a signature of the answers both give to the
// same tries. Prints one line per condition; false when a signature differs.
bool run_encoder_bench(bool quick);
