#!/usr/bin/env bash
# Fuzzes every reader with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      (make fuzz FUZZ_SECONDS=600 FUZZ_TARGETS="level mesh")
#
# SECONDS is each target's time (default 60). Targets are the fuzz/targets/*.cpp names in lower
# case; none means all. Seeds come from the built game tree (demo levels, Level Models, class
# scripts, meshes, fonts, pictures, fire and water files, settings) and fuzz/seeds/; the corpus each
# run grows is kept in build-fuzz/corpus/ for the next. Every input that crashes, leaks, hangs or
# runs out of memory is copied to fuzz/crashers/<target>/, which `make test` replays from then on.
# Exits non-zero when a run found one. Prints each target's executions, coverage and corpus size.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" = "-h" ] || [ "${1:-}" = "--help" ]; then
  sed -n '2,/^set /p' "$0" | grep '^#' | sed 's/^# \{0,1\}//'
  exit 0
fi

seconds=${1:-60}
shift || true
build=build-fuzz
game=${ORV_FUZZ_GAME_DIR:-$root/build/game}
all=(level levelmodel classscripts mesh font image sound procedural settings inputscript package brushes)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if [ ! -d "$game/Maps" ]; then
  echo "The game tree $game is not built (make build makes it)" >&2
  exit 1
fi

CC=clang CXX=clang++ cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_FUZZ=ON \
  -DORV_TESTS=OFF -DORV_BENCH=OFF >/dev/null || exit 1
cmake --build $build --target orv_fuzz_seed_packages $(printf "orv_fuzz_%s " "${targets[@]}") || exit 1

# Seeds of one target from the game tree, into build-fuzz/seeds/<target>/ (made afresh each run).
gather_seeds() {
  local target=$1 out=$build/seeds/$1
  rm -rf "$out"
  mkdir -p "$out"
  case $target in
    brushes) cp "$game"/Maps/*.t3d "$out"/ ;;
    level)
      # Small levels run fast: each demo actor alone with its level's LevelInfo and PlayerStart.
      python3 - "$out" "$game"/Maps/*.t3d <<'PY'
import os, re, sys
for path in sys.argv[2:]:
    text = open(path, newline='').read().replace('\r\n', '\n')
    blocks = re.findall(r'^Begin Actor.*?^End Actor\n', text, re.M | re.S)
    frame = [b for b in blocks if re.match(r'Begin Actor Class=(LevelInfo|PlayerStart)\b', b)]
    stem = os.path.splitext(os.path.basename(path))[0]
    for i, block in enumerate(b for b in blocks if b not in frame):
        with open(os.path.join(sys.argv[1], f'{stem}-{i:03d}.t3d'), 'w') as out:
            out.write('Begin Map\n' + ''.join(frame) + block + 'End Map\n')
PY
      ;;
    levelmodel) cp "$game"/Maps/*.bsp "$out"/ ;;
    classscripts) find "$game/System" -name '*.uc' -exec cp {} "$out"/ \; ;;
    font) find "$game/Textures" -iname '*.font' -exec cp {} "$out"/ \; ;;
    image) find "$game/Textures" -iname '*.png' -size -48k -exec cp {} "$out"/ \; ;;
    sound) find "$game/Sounds" "$game/System" \( -iname '*.wav' -o -iname '*.ogg' \) -size -32k -exec cp {} "$out"/ \; ;;
    settings) cp "$root/Orvane.ini" "$out"/; find "$game/Textures" -iname '*.ini' -exec cp {} "$out"/ \; ;;
    procedural)
      # The first byte picks the reader: even fire, odd water.
      for f in $(find "$game/Textures" -iname '*.firet'); do { printf '\0'; cat "$f"; } >"$out/$(basename "$f")"; done
      for f in $(find "$game/Textures" -iname '*.wett'); do { printf '\1'; cat "$f"; } >"$out/$(basename "$f")"; done ;;
    mesh)
      # Two files in one input: the animation file's length in two bytes, it, then the data file.
      for a in $(find "$game/System" -name '*_a.3d' -size -60k); do
        d=${a%_a.3d}_d.3d
        [ -f "$d" ] || continue
        python3 - "$a" "$d" "$out/$(basename "${a%_a.3d}")" <<'PY'
import sys
a, d = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
if len(a) < 65536:
    open(sys.argv[3], 'wb').write(len(a).to_bytes(2, 'little') + a + d)
PY
      done ;;
    package) [ -x $build/fuzz/orv_fuzz_seed_packages ] && $build/fuzz/orv_fuzz_seed_packages "$out" ;;
  esac
  [ -d fuzz/seeds/$target ] && cp fuzz/seeds/$target/* "$out"/
}

dict_of() {
  case $1 in
    level|brushes) echo fuzz/dict/t3d.dict ;;
    classscripts|settings|inputscript) echo fuzz/dict/$1.dict ;;
  esac
}

found=0
summary=()
for target in "${targets[@]}"; do
  gather_seeds "$target"
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts" fuzz/crashers/$target
  dict=$(dict_of "$target")
  log=$build/logs/$target.log
  mkdir -p "$(dirname "$log")"
  echo "== $target: ${seconds}s (log $log)"
  # Forked runs go on past a crash, so one run finds every fault it can in its time.
  LSAN_OPTIONS="suppressions=$root/fuzz/lsan-suppressions.txt:print_suppressions=0" \
  ORV_FUZZ_GAME_DIR="$game" $build/fuzz/orv_fuzz_$target "$corpus" "$build/seeds/$target" \
    -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
    -artifact_prefix="$artifacts/" ${dict:+-dict=$dict} -print_final_stats=1 >"$log" 2>&1
  stats=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  new=0
  for f in "$artifacts"/*; do
    [ -f "$f" ] || continue
    cp "$f" fuzz/crashers/$target/
    rm "$f"
    new=$((new + 1))
  done
  [ $new -gt 0 ] && found=1
  summary+=("$target: ${stats:-no stats (see $log)}; new crashers: $new")
done

echo
echo "== fuzzing summary (${seconds}s each)"
printf '%s\n' "${summary[@]}"
if [ $found -ne 0 ]; then
  echo "New crashers are in fuzz/crashers/; make test replays them." >&2
  exit 1
fi
