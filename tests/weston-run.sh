#!/usr/bin/env bash
# Runs a command as a client of a headless Wayland compositor of its own (weston, pixman
# renderer, screenshots allowed), like xvfb-run does for X.
set -uo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=ovelo-test
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --use-pixman --debug --idle-time=0 --width=1280 \
  --height=1024 --socket=$socket >"$runtime/weston.log" 2>&1 &
weston_pid=$!
# Up to 10 s for the socket, looked for every 20 ms.
for _ in $(seq 500); do
  [ -S "$runtime/$socket" ] && break
  sleep 0.02
done
status=1
if [ -S "$runtime/$socket" ]; then
  env -u DISPLAY WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@"
  status=$?
else
  echo "weston did not start:" >&2
  cat "$runtime/weston.log" >&2
fi
kill $weston_pid 2>/dev/null
wait $weston_pid 2>/dev/null
rm -rf "$runtime"
exit $status
