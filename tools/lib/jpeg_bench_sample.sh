# Sourced by tools/bench: the reduced JPEG decoder's benchmark sample, a
# grainy 6000 × 4000 photo at quality 90 made once by Pillow.
# jpeg_bench_sample <build folder>: prints the sample's path, made if missing.
jpeg_bench_sample() {
  local jpeg="$1/jpeg-bench-6000x4000.jpg"
  local top
  top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
  if [ ! -f "$jpeg" ]; then
    /usr/bin/python3 "$top/tests/native/saver/pictures/jpeg/make_jpeg_samples.py" --bench "$jpeg"
  fi
  printf '%s\n' "$jpeg"
}
