# median: the median of the numbers on standard input, one per line (the
# mean of the middle two for an even count). Sourced by the measuring scripts.
median() { sort -n | awk '{v[NR] = $1} END {m = int((NR + 1) / 2); print (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2}'; }
