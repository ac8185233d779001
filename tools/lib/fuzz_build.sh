# Sourced by the fuzz hooks in tools/test.d (with $top set to the repository):
# they share one clang build in build/fuzz that holds every libFuzzer target,
# so whichever hook runs first configures it for the others too.
fuzz_build="$top/build/fuzz"

# fuzz_build_configure: configures build/fuzz with clang, ASan and UBSan and
# both fuzz options on, unless it already is.
fuzz_build_configure() {
  if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing (tools/packages/anigif.list)" >&2
    return 1
  fi
  if [ -f "$fuzz_build/build.ninja" ] &&
     grep -q '^VENTALUNE_FUZZ:BOOL=ON' "$fuzz_build/CMakeCache.txt" &&
     grep -q '^VENTALUNE_GIF_FUZZ:BOOL=ON' "$fuzz_build/CMakeCache.txt"; then
    return 0
  fi
  CC=clang CXX=clang++ cmake -S "$top" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVENTALUNE_SANITIZE=ON -DVENTALUNE_FUZZ=ON -DVENTALUNE_GIF_FUZZ=ON \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
}

# fuzz_program NAME: prints the path of the built fuzz program NAME. Found by
# name, not by folder, so that moving its test folder changes nothing here;
# the newest wins, as a copy from before such a move may still lie in the
# build.
fuzz_program() {
  local program
  program="$(find "$fuzz_build" -type f -name "$1" -perm -u+x -printf '%T@ %p\n' 2>/dev/null |
             sort -rn | head -n 1 | cut -d' ' -f2-)"
  if [ -z "$program" ]; then
    echo "fuzz: no program $1 in $fuzz_build" >&2
    return 1
  fi
  printf '%s\n' "$program"
}

# fuzz_matches NAME: true when no filter is set or NAME matches the extended
# regular expression in $fuzz_filter (tools/test -R).
fuzz_matches() {
  [ -z "${fuzz_filter:-}" ] || [[ $1 =~ $fuzz_filter ]]
}
