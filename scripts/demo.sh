#!/usr/bin/env bash
# The client as a shop first sees it: a fresh user with no settings starts it and gets the login
# window. Without a display it runs under Xvfb and the window is saved as a picture.
# Usage: scripts/demo.sh [build folder]
set -euo pipefail

build="$(cd "${1:-build}" && pwd)"
client="$build/bin/TalvenOrder"
shots="$build/demo"
[ -x "$client" ] || { echo "demo: $client is missing; run make build first" >&2; exit 1; }
mkdir -p "$shots"

# A throw-away user: the demo never reads or changes the real data folder, and its own runtime
# folder keeps it apart from a client the user may already run.
world="$(mktemp -d "${TMPDIR:-/tmp}/talven-demo.XXXXXX")"
export HOME="$world" XDG_CONFIG_HOME="$world/.config" XDG_RUNTIME_DIR="$world/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM TALVENORDER_DEBUG

client_pid="" xvfb_pid=""
cleanup() {
  if [ -n "$client_pid" ] && kill -0 "$client_pid" 2>/dev/null; then
    kill -TERM "$client_pid"; wait "$client_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then kill -TERM "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$world"
}
trap cleanup EXIT

wait_for() {  # wait_for <seconds> <command...>
  local tries=$(($1 * 10)); shift
  until "$@" 2>/dev/null; do
    tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

if [ -z "${DISPLAY:-}" ]; then
  display=99
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$world/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for 10 test -e "/tmp/.X11-unix/X$display" || { cat "$world/xvfb.log" >&2; echo "demo: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display"
  echo "demo: no display; running under Xvfb on $DISPLAY"
fi

# --- Order service -------------------------------------------------------------------------
# The next step of the demo goes here: start order-sim, write its hosts and certificate into
# "$XDG_CONFIG_HOME/Korvane/TalvenOrder/server.ini", log in and place an order.

"$client" &
client_pid=$!

client_gone() { ! kill -0 "$client_pid" 2>/dev/null; }
log_ready() { grep -qs "Tfm_orderFake.FormCreate" "$XDG_CONFIG_HOME"/Korvane/TalvenOrder/log/*.log; }
if ! wait_for 20 log_ready; then
  client_gone && { wait "$client_pid" || echo "demo: the client ended with status $?" >&2; client_pid=""; }
  echo "demo: the client did not start" >&2
  exit 1
fi

if [ -n "$xvfb_pid" ]; then
  # The Xvfb screen holds nothing but the client: wait until something is drawn on it, then
  # cut the picture down to the window.
  painted() {
    xwd -root -silent -display "$DISPLAY" >"$world/screen.xwd" &&
      [ "$(convert "xwd:$world/screen.xwd" -format '%[fx:standard_deviation>0]' info:)" = 1 ]
  }
  wait_for 20 painted || { echo "demo: the login window did not appear" >&2; exit 1; }
  sleep 1 && painted  # the first paint may still be landing
  shot="$shots/login.png"
  convert "xwd:$world/screen.xwd" -trim +repage "$shot"
  echo "demo: login window saved as $shot"
elif [ -t 0 ]; then
  echo "demo: the login window is on your display; press Enter to quit the client"
  read -r _ || true
fi

if client_gone; then
  wait "$client_pid" && status=0 || status=$?
else
  kill -TERM "$client_pid"
  wait "$client_pid" && status=0 || status=$?
fi
client_pid=""
[ "$status" -eq 0 ] || { echo "demo: the client ended with status $status" >&2; exit 1; }
echo "demo: the client quit cleanly"
