#!/usr/bin/env bash
# Runs the remote-load tests against a web server on 127.0.0.1 started here
# and stopped again at the end.
# remote_load.sh TEST.exe WINE-RUN SERVER.py WORKDIR
set -u
test_exe=$1 wine_run=$2 server=$3 work=$4
rm -rf "$work" && mkdir -p "$work/served"
/usr/bin/python3 "$server" "$work/served" "$work/port" &
server_pid=$!
trap 'kill $server_pid 2>/dev/null; wait $server_pid 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "remote_load.sh: the server did not start" >&2; exit 1; }
read -r port gone_port < "$work/port"
export ANIGIF_SERVER_PORT=$port ANIGIF_GONE_PORT=$gone_port
export ANIGIF_SERVED_FOLDER="Z:$(echo "$work/served" | tr / '\\')"
"$wine_run" "$test_exe"
