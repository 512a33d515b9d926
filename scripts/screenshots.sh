#!/usr/bin/env bash
# Takes pictures under a private Xvfb and writes them to docs/*.png:
#   bash scripts/screenshots.sh         every window of the real holvex.exe: tests/app/screenshot_tour.cpp
#                                       drives the program against the demo server
#   bash scripts/screenshots.sh setup   the pages of the setup program and its uninstaller
#                                       (tests/app/setup_tour.cpp), in a Wine prefix made fresh for them
# The tour says when and where to take each picture.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
what=${1:-program}
bash scripts/setup.sh >/dev/null
bash scripts/build.sh windows >/dev/null
if [ "$what" = setup ]; then
  # The pages as on a computer where the program was never installed, for a user of that name.
  export WINEPREFIX=$top/build/setup-screenshot-prefix USER=Anwender
  rm -rf "$WINEPREFIX"
fi
. scripts/wine-env.sh
. scripts/demo-env.sh
tour_pid=
cleanup() {
  [ -n "$tour_pid" ] && kill "$tour_pid" 2>/dev/null
  stop_demo_server
  stop_private_wine
  [ "$what" = setup ] && rm -rf "$WINEPREFIX"
  true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
start_private_xvfb
start_wineserver

# Runs a tour (its command line as arguments) and takes the pictures it asks for.
run_tour() {
  coproc TOUR { exec "$@"; }
  tour_pid=$TOUR_PID
  # Bash closes a coproc's descriptors when it ends, maybe before its last line was read.
  exec {tour_out}<&"${TOUR[0]}" {tour_in}>&"${TOUR[1]}"
  local status=1 line word name left top_ right bottom
  # Every step of the tour has its own bound; two minutes without a line means it is stuck.
  while read -r -t 120 -u "$tour_out" line; do
    read -r word name left top_ right bottom <<<"${line%$'\r'}"  # Wine's C runtime ends lines with CR LF
    case $word in
      shot)
        import -window root -crop "$((right - left))x$((bottom - top_))+$left+$top_" +repage \
          -define png:exclude-chunks=date,time "docs/$name.png"
        echo "docs/$name.png"
        echo ok >&"$tour_in"
        ;;
      done) status=0 ;;
      *) echo "screenshots: ${line%$'\r'}" >&2 ;;
    esac
  done
  exec {tour_in}>&- {tour_out}<&-
  wait "$tour_pid" || status=1
  tour_pid=
  return $status
}

if [ "$what" = setup ]; then
  setup_exe=$(ls build/$HOLVEX_WINDOWS_TREE/package/holvex-*-setup.exe)
  run_tour scripts/wine-exec.sh build/$HOLVEX_WINDOWS_TREE/bin/setup_tour.exe "$(windows_path "$top/$setup_exe")"
  exit
fi

# Bodies at 1 MB/s and size queries answered after 3 s: the run and the dialogs that ask for
# sizes stay on screen long enough to be seen at work.
start_demo_server 1024 3
# Inside the prefix, so that the pictures show C:\Holvex wherever the checkout lies.
folder=$WINEPREFIX/drive_c/Holvex
prepare_demo_folder "$folder" 0
run_tour scripts/wine-exec.sh build/$HOLVEX_WINDOWS_TREE/bin/screenshot_tour.exe "$(windows_path "$folder")" "$demo_url"
