#!/usr/bin/env bash
# Compares the resident memory of two processes' memory maps (smaps files,
# as bench_browser writes them with ZAM_BENCH_MAPS) mapping by mapping:
# each library or file by its name, [heap], [stack], and [anon] for the
# anonymous mappings (large allocations and static storage among them).
#   rss_by_mapping.sh BEFORE AFTER
# prints the KiB of each in BEFORE and AFTER and the difference, largest first.
sum() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = NF > 5 ? $6 : "[anon]"; sub(".*/", "", name) }
         /^Rss:/ { rss[name] += $2 }
         END { for (n in rss) print n, rss[n] }' "$1" | sort
}
join -a1 -a2 -e0 -o 0,1.2,2.2 <(sum "$1") <(sum "$2") |
    awk '{ total1 += $2; total2 += $3; if ($3 - $2 >= 32 || $2 - $3 >= 32) print $3 - $2, $1, $2, $3 }
         END { print total2 - total1, "total", total1, total2 }' |
    sort -rn | awk '{ printf "%-44s %8d %8d %+8d\n", $2, $3, $4, $1 }'
