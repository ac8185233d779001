# Sourced by tools/test and tools/demo: a private X display and sound server
# for Wine, and a persistent wineserver, all stopped again on exit.
# Sets DISPLAY, XDG_RUNTIME_DIR, PULSE_SERVER and WINEPREFIX.

session_pids=()
session_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  for pid in "${session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${session_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  # An if, not "[ … ] && rm": as an EXIT trap under set -e, a false test
  # here (no sound server was started) would turn a successful script's
  # status into 1.
  if [ -n "${session_runtime:-}" ]; then rm -rf "$session_runtime"; fi
  return 0
}

# session_start_display [WIDTHxHEIGHT]: an Xvfb of that size (1024x768 by
# default) at 24 bits on a free display number. It offers that one mode.
session_start_display() {
  local size=${1:-1024x768}
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -ac >/dev/null 2>&1 &
  session_pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "session: Xvfb did not start on $DISPLAY" >&2
  return 1
}

# session_start_sound: PulseAudio with a null sink "test" whose monitor the
# tests record from.
session_start_sound() {
  session_runtime="$(mktemp -d /tmp/ventalune-pulse.XXXXXX)"
  chmod 700 "$session_runtime"
  export XDG_RUNTIME_DIR="$session_runtime"
  export PULSE_SERVER="unix:$session_runtime/pulse/native"
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit \
    --load="module-null-sink sink_name=test" \
    --load="module-native-protocol-unix" >/dev/null 2>&1 &
  session_pids+=($!)
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink test >/dev/null 2>&1 || { echo "session: PulseAudio did not start" >&2; return 1; }
}

# session_use_prefix_copy DIR: Wine reads the monitors once per wineserver,
# from the display its desktop process opened, and one prefix has one
# wineserver. A display of other monitors therefore gets a prefix of its own:
# a copy of the session's, made once in DIR. Exports WINEPREFIX.
session_use_prefix_copy() {
  local prefix=$1
  if [ ! -f "$prefix/system.reg" ]; then
    local source_prefix="${WINEPREFIX:-$top/build/wineprefix}"
    [ -f "$source_prefix/system.reg" ] || { echo "no Wine prefix to copy at $source_prefix (run tools/setup)" >&2; return 1; }
    rm -rf "$prefix.partial"
    cp -a "$source_prefix" "$prefix.partial" && mv "$prefix.partial" "$prefix" || return 1
  fi
  export WINEPREFIX="$prefix"
}

# session_start_wine: one wineserver for the whole session, so each test
# program does not pay for starting its own.
session_start_wine() {
  export WINEPREFIX="${WINEPREFIX:-$top/build/wineprefix}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  wineserver -p 2>/dev/null || true
}

# session_start_monitors WxH+X+Y...: one monitor per argument, the first the
# primary (at 0,0), on a nested Xephyr with Xinerama heads (Xvfb alone stacks
# its heads on top of each other). RANDR is off, so Wine takes the heads from
# Xinerama. Both X servers stop with session_stop.
session_free_display() {
  local n=$1
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}
session_start_monitors() {
  local head size width=0 height=0 outer inner xvfb xephyr
  local screens=()
  for head in "$@"; do
    size=${head%%+*}
    local x=${head#*+} w=${size%x*} h=${size#*x}
    x=${x%%+*}
    width=$((width > x + w ? width : x + w))
    height=$((height > h ? height : h))
    screens+=(-screen "$head")
  done
  outer=$(session_free_display 150)
  Xvfb ":$outer" -screen 0 "$((width + 100))x$((height + 100))x24" -nolisten tcp -ac >/dev/null 2>&1 &
  xvfb=$!
  session_pids+=($xvfb)
  # Another session may take the same number first: then ours has ended.
  for _ in $(seq 100); do
    kill -0 "$xvfb" 2>/dev/null && DISPLAY=":$outer" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  kill -0 "$xvfb" 2>/dev/null || { echo "session: Xvfb did not start on :$outer" >&2; return 1; }
  inner=$(session_free_display $((outer + 1)))
  DISPLAY=":$outer" Xephyr ":$inner" "${screens[@]}" +xinerama -extension RANDR -nolisten tcp -ac >/dev/null 2>&1 &
  xephyr=$!
  session_pids+=($xephyr)
  export DISPLAY=":$inner"
  for _ in $(seq 100); do
    kill -0 "$xephyr" 2>/dev/null && xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "session: Xephyr did not start on $DISPLAY" >&2
  return 1
}
