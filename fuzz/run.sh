#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each of them on a seed corpus of
# files the product itself makes (sounds, pictures, maps, saved games).
#
#   fuzz/run.sh                  # every target for 30 minutes
#   fuzz/run.sh --smoke          # every target for a few seconds (CI)
#   fuzz/run.sh --time 600 fuzz_map
#
# Findings (crash-*, leak-*, timeout-*) land in build-fuzz/findings/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=1800
runs=-1
game_dir=$root/build/game
targets=()

while [ $# -gt 0 ]; do
  case $1 in
    --smoke) seconds=6; runs=30000 ;;
    --time) seconds=$2; shift ;;
    --game-dir) game_dir=$2; shift ;;
    *) targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_wave fuzz_bitmap fuzz_map fuzz_saved_game fuzz_report)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQUORVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" fuzz_seed_saved_games fuzz_seed_reports

if [ ! -d "$game_dir/Sonidos" ]; then
  cmake --build "$build" --target game_folder
  game_dir=$build/game
fi

# Seeds: a handful of the smallest sounds, both pictures, every map, and a
# saved game walked on every map.
seeds=$build/seeds
for t in "${targets[@]}"; do
  rm -rf "${seeds:?}/$t"
  mkdir -p "$seeds/$t"
  case $t in
    fuzz_wave)
      # sed reads to the end: head would close the pipe early and, with
      # pipefail, end the script on sort's SIGPIPE.
      find "$game_dir" -name '*.wav' -printf '%s %p\n' | sort -n | sed -n '1,8p' | cut -d' ' -f2- |
        while read -r f; do cp "$f" "$seeds/$t/"; done ;;
    fuzz_bitmap) cp "$game_dir"/Data/*.bmp "$seeds/$t/" ;;
    fuzz_map) cp "$root"/assets/maps/*.quorvane "$seeds/$t/" ;;
    fuzz_saved_game) "$build/fuzz/fuzz_seed_saved_games" "$seeds/$t" "$root"/assets/maps/*.quorvane ;;
    fuzz_report) "$build/fuzz/fuzz_seed_reports" "$seeds/$t" "$root"/assets/maps/*.quorvane ;;
  esac
done

declare -A dict=([fuzz_wave]=wave [fuzz_bitmap]=bitmap [fuzz_map]=map [fuzz_saved_game]=saved_game
                [fuzz_report]=report)
# Inputs no longer than this: the shipped font sheet (196 KB) would otherwise
# set the length, and every input would decode into a picture of megabytes.
# 4 KB still holds every header, a colour table of 256 entries and pixels of
# every depth; the seed sheet is cut to it.
declare -A max_len=([fuzz_bitmap]=4096)
status=0
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  mkdir -p "$corpus" "$findings"
  echo "== $t: up to $seconds s =="
  if ! "$build/fuzz/$t" "$corpus" "$seeds/$t" \
      -dict="$root/fuzz/dict/${dict[$t]}.dict" ${max_len[$t]:+-max_len=${max_len[$t]}} \
      -max_total_time="$seconds" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$findings/" -print_final_stats=1 2>"$build/$t.log"; then
    echo "$t: FAILED (see $build/$t.log and $findings/)"
    tail -n 40 "$build/$t.log"
    status=1
  fi
  grep -aE '^stat::number_of_executed_units|^stat::peak_rss_mb|cov: ' "$build/$t.log" | tail -n 3 || true
done
exit $status
