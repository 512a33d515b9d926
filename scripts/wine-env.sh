# Sourced by the scripts: the Wine prefix and settings every Windows-side command uses.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# Where the kernel runs no 32-bit code (some virtual machines run 64-bit user code only: an i386
# execve fails with ENOEXEC), Wine's 32-bit loader cannot start, so the tests run the 64-bit
# build of the same sources under 64-bit Wine. holvex.exe for users is the 32-bit build always.
if [ -z "${HOLVEX_WINDOWS_TREE:-}" ]; then
  if [ "$(uname -m)" != x86_64 ] || /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    HOLVEX_WINDOWS_TREE=win32
  else
    HOLVEX_WINDOWS_TREE=win64
  fi
fi
export HOLVEX_WINDOWS_TREE
export WINEPREFIX=${WINEPREFIX:-$top/build/$HOLVEX_WINDOWS_TREE/wineprefix}
export WINEARCH=$HOLVEX_WINDOWS_TREE
# Debian's wine starts the 32-bit loader whenever it is installed, runnable or not.
if [ "$HOLVEX_WINDOWS_TREE" = win64 ]; then export WINELOADER=/usr/lib/wine/wine64; fi
wine_command=${WINELOADER:-wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Starts a private Xvfb on a free display number and exports DISPLAY; sets xvfb_pid.
start_private_xvfb() {
  local d log
  for d in $(seq 91 140); do
    if [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ]; then continue; fi
    log="${TMPDIR:-/tmp}/holvex-xvfb-$d.log"
    Xvfb ":$d" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 400); do
      if [ -e "/tmp/.X11-unix/X$d" ]; then
        export DISPLAY=":$d"
        return 0
      fi
      # A display taken elsewhere (an abstract socket of another root) makes Xvfb quit: next.
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$xvfb_pid" 2>/dev/null || true
    echo "Xvfb :$d did not start: $(tail -n 3 "$log" 2>/dev/null | tr '\n' ' ')" >&2
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# A persistent wineserver with a booted prefix, so that test processes start fast and Wine's
# background services never hold a test runner's pipes.
# Every Wine process of the prefix runs under one locale: a process that starts under another
# rewrites the prefix's International settings, and test processes starting at that moment
# read half-written separators. German unless HOLVEX_LOCALE says otherwise.
wine_in_locale() { env LC_ALL="${HOLVEX_LOCALE:-de_DE.UTF-8}" "$wine_command" "$@"; }

# Wine draws the title-bar buttons (and other small symbols) with the Marlett font. Debian's
# Wine looks for its own fonts in "<data dir>\../fonts", a path with a Unix separator that it
# cannot open, so fonts-wine's marlett.ttf is never seen and the buttons read "0 1 r". A copy in
# the prefix's Fonts folder is found by every Wine process, the desktop process included, so it
# goes there before the prefix boots.
install_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
  [ -f "$fonts/marlett.ttf" ] && return 0
  for f in /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/wine/marlett.ttf; do
    if [ -f "$f" ]; then
      mkdir -p "$fonts" && cp "$f" "$fonts/marlett.ttf"
      return 0
    fi
  done
  echo "marlett.ttf not found (package fonts-wine): title-bar buttons will show letters" >&2
}

start_wineserver() {
  mkdir -p "$WINEPREFIX"
  install_prefix_fonts
  wineserver -p || echo "wineserver -p failed (status $?)" >&2
  # wineboot's status says little (it reports a missing Mono or Gecko); the tests tell.
  wine_in_locale wineboot -i >/dev/null 2>&1 </dev/null || echo "wineboot ended with status $?" >&2
  # Without a window manager Wine must draw title bars and frames itself.
  local key='HKCU\Software\Wine\X11 Driver'
  wine_in_locale reg add "$key" /v Decorated /d N /f >/dev/null 2>&1 </dev/null || true
  wine_in_locale reg add "$key" /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
}

stop_wineserver() { wineserver -k >/dev/null 2>&1 || true; }

# Ends what start_private_xvfb and start_wineserver began; the scripts call it on exit.
xvfb_pid=${xvfb_pid:-}
stop_private_wine() {
  stop_wineserver
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  true
}
