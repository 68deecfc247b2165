#!/bin/sh
# Builds the libFuzzer targets with clang into the given directory and runs
# each for LIBFUZZER_SECONDS (default 60), when clang's fuzzer runtime is
# there (Debian: clang and libclang-rt-14-dev); otherwise says so and stops.
set -e
dir=${1:-build-libfuzzer}
seconds=${LIBFUZZER_SECONDS:-60}
if ! command -v clang++ >/dev/null 2>&1 ||
   ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
     clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "libfuzzer: clang's fuzzer runtime is missing (Debian: clang, libclang-rt-14-dev); nothing built"
  exit 0
fi
CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DVELKOR_LIBFUZZER=ON >/dev/null
cmake --build "$dir" -j "$(nproc)" --target velkor_PositionText_fuzzer velkor_MoveText_fuzzer
for target in PositionText MoveText; do
  mkdir -p "$dir/corpus-$target"
  echo "libfuzzer: $target for $seconds s"
  nice "$dir/tools/fuzz/velkor_${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -close_fd_mask=1 \
    -artifact_prefix="$dir/$target-" "$dir/corpus-$target"
done
