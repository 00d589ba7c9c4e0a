# Sourced by run.sh and screenshots.sh: a Wine prefix that draws on X, and an X display
# (the current one, or an Xvfb of our own when there is none).
# shellcheck shell=bash
kw_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$kw_top/cmake/wine-fonts.sh"
kw_xvfb_pid=""

# The test prefix uses the null graphics driver and draws nothing; this one uses X.
kw_x_prefix() {
  export WINEPREFIX="$kw_top/build/wineprefix-x"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.kitwright-ready" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    wine wineboot --init >/dev/null 2>&1 </dev/null
    # Without a window manager Wine waits for each window; unmanaged windows start at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.kitwright-ready"
  fi
  kw_wine_fonts "$WINEPREFIX"
}

kw_need() {
  local missing=""
  for tool in "$@"; do command -v "$tool" >/dev/null || missing="$missing $tool"; done
  if [ -n "$missing" ]; then
    echo "Missing:$missing (bash cmake/install-deps.sh screenshots installs them as root)" >&2
    exit 1
  fi
}

# Starts Xvfb on the first free display number and exports DISPLAY.
kw_start_xvfb() {
  kw_need Xvfb xdotool import
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  kw_xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdotool getmouselocation >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  kw_stop_xvfb
  exit 1
}

kw_stop_xvfb() {
  if [ -n "$kw_xvfb_pid" ]; then
    kill "$kw_xvfb_pid" 2>/dev/null || true
    wait "$kw_xvfb_pid" 2>/dev/null || true
    kw_xvfb_pid=""
  fi
}

# Waits (up to $2 seconds) for a visible X window whose title matches $1; prints its id.
kw_wait_window() {
  local id
  for _ in $(seq $(( ${2:-30} * 5 ))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  return 1
}
