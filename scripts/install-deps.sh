#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Orvane need.
# Quiet and quick when everything is already there; safe to run again and again.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ pkg-config make
  # window, GL context, input (SDL2); fixed-function GL + GLU; Mesa EGL/llvmpipe for headless runs
  libsdl2-dev libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  # audio: 3D channels, decoding, tracker music
  libopenal-dev libsndfile1-dev libopenmpt-dev
  # demo-content generator: Ogg Vorbis encoding
  libvorbis-dev libogg-dev
  # image decoding/encoding, font rasterising
  libstb-dev fonts-dejavu-core
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  # fuzzing (clang's libFuzzer with its sanitizers) and the fuzz and soak scripts
  clang libclang-rt-14-dev python3
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/orvane-apt.log 2>&1; then
  apt-get update -q >>/tmp/orvane-apt.log 2>&1
  if ! apt-get install -y -q --no-install-recommends "${missing[@]}" >>/tmp/orvane-apt.log 2>&1; then
    tail -n 30 /tmp/orvane-apt.log >&2
    echo "apt-get install failed (full log: /tmp/orvane-apt.log)" >&2
    exit 1
  fi
fi
