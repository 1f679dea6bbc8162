# Median of v[1..m], sorted in place (insertion sort: m is small). Shared by
# scripts/bench and scripts/rates, which put it before their own programs.
function median(v, m,   i, j, t) {
  for (i = 2; i <= m; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
  return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
}
