# Sourced by tools/bench and tools/gif-bench: the GIF engine's benchmark
# sample, a 30-frame 500 × 375 photo animation made once by ImageMagick.
# gif_bench_sample <build folder>: prints the sample's path, made if missing.
gif_bench_sample() {
  local gif="$1/anigif-bench.gif"
  if [ ! -f "$gif" ]; then
    convert logo: -resize '500x375!' -duplicate 29 -distort SRT '%[fx:t*12]' -colors 256 -loop 0 "$gif"
  fi
  printf '%s\n' "$gif"
}
