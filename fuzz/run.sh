#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs each for a bounded time. Exits non-zero
# when a target finds a crash; the crashing input is left in the work folder.
#
#   FUZZ_SECONDS    time per target (default 20)
#   FUZZ_BUILD_DIR  where binaries and working corpora go (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-20}
out=${FUZZ_BUILD_DIR:-build-fuzz}
cxx=${FUZZ_CXX:-clang++}

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx not found, fuzzing skipped"
  exit 0
fi

flags=(-std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
mkdir -p "$out"

# name: the target's sources
declare -A targets=(
  [ini_number]="fuzz/ini_number_fuzz.cpp framework/ini/ini_number.cpp"
  [profile_document]="fuzz/profile_document_fuzz.cpp platform/profile/profile_document.cpp platform/profile/profile_text.cpp"
)

status=0
for name in "${!targets[@]}"; do
  binary="$out/fuzz_$name"
  # shellcheck disable=SC2086
  if ! "$cxx" "${flags[@]}" ${targets[$name]} -o "$binary"; then
    echo "fuzz: building $name failed"
    exit 1
  fi
  corpus="$out/corpus_$name"
  artifacts="$out/artifacts_$name/"
  mkdir -p "$corpus" "$artifacts"
  cp -n "fuzz/corpus/$name/"* "$corpus/" 2>/dev/null || true
  echo "== fuzz $name for ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$artifacts" -print_final_stats=0 "$corpus" 2>"$out/fuzz_$name.log"; then
    tail -n 40 "$out/fuzz_$name.log"
    echo "fuzz: $name found a crash; input in $artifacts"
    status=1
  else
    grep -E '^#[0-9]+.*DONE' "$out/fuzz_$name.log" | tail -n 1 || true
  fi
done
exit "$status"
