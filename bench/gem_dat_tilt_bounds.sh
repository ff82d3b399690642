#!/bin/sh
# The tilt analysis of every sample design (default axes, +-30 degrees, depth
# 9): whether any view was cut short, the largest error bound (in points) over
# the face-up view and every tilted one, and the time each analysis took.
# Usage: bench/gem_dat_tilt_bounds.sh build/bin/brillora-cli [GEM_DAT folder]
set -eu
cli=$1
folder=${2:-$(dirname "$0")/../GEM_DAT}
worst=0
status=0
for design in "$folder"/*.brl "$folder"/*.asc "$folder"/*.gem; do
  [ -e "$design" ] || continue
  start=$(date +%s.%N)
  json=$("$cli" analyze "$design" --depth 9 --tilt 30 --json)
  end=$(date +%s.%N)
  line=$(printf '%s' "$json" | python3 -c '
import json, sys
r = json.load(sys.stdin)
bound = max([r["face_up"]["error_bound"]] + [axis["error_bound"] for axis in r["tilt"]])
print(bound, "yes" if r["cut_short"] else "no")')
  bound=${line% *}
  cut=${line#* }
  printf '%-28s error bound %5s  cut short %-3s  %6.2f s\n' "$(basename "$design")" "$bound" "$cut" \
    "$(echo "$end - $start" | bc)"
  [ "$cut" = no ] || status=1
  worst=$(echo "if ($bound > $worst) $bound else $worst" | bc)
done
echo "largest error bound: $worst points"
exit $status
