# Sourced by run.sh --demo and screenshots.sh: a loopback HTTP server with sample files
# (scripts/demo_server.py) and a program folder of its own whose queue points at it, so that
# the user's own load.hvq and load.ini are never touched.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# The path as the program sees it: the prefix's drive_c is C:, and Wine's drive Z: is the root.
windows_path() {
  local p=$1 drive=Z:
  case $p in "$WINEPREFIX"/drive_c/*) p=${p#"$WINEPREFIX"/drive_c}; drive=C: ;; esac
  p=${p//\//\\}
  printf '%s%s' "$drive" "$p"
}

# start_demo_server RATE_KB_PER_S HEAD_DELAY_S: serves fresh sample files from a temporary
# folder; sets demo_server_pid, demo_url (http://127.0.0.1:PORT) and demo_files.
start_demo_server() {
  local python=/usr/bin/python3 word port
  [ -x "$python" ] || python=python3
  demo_files=$(mktemp -d "${TMPDIR:-/tmp}/holvex-demo.XXXXXX")
  : >"$demo_files/port"
  "$python" "$top/scripts/demo_server.py" "$demo_files/files" --rate "$1" --head-delay "$2" \
    >"$demo_files/port" 2>"$demo_files/server.log" &
  demo_server_pid=$!
  for _ in $(seq 1 200); do
    if read -r word port <"$demo_files/port" 2>/dev/null && [ "$word" = port ]; then
      demo_url=http://127.0.0.1:$port
      return 0
    fi
    kill -0 "$demo_server_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "the demo server did not start: $(cat "$demo_files/server.log")" >&2
  return 1
}

stop_demo_server() {
  if [ -n "${demo_server_pid:-}" ]; then
    kill "$demo_server_pid" 2>/dev/null || true
    wait "$demo_server_pid" 2>/dev/null || true
    demo_server_pid=
  fi
  [ -n "${demo_files:-}" ] && rm -rf "$demo_files"
  demo_files=
}

# prepare_demo_folder DIR AUTOSTART(0|1): a fresh DIR with holvex.exe, a Downloads folder, a
# queue of the sample files in every status and settings that use them.
prepare_demo_folder() {
  local dir=${1:?} autostart=$2
  rm -rf "$dir"
  mkdir -p "$dir/Downloads"
  cp "$top/build/$HOLVEX_WINDOWS_TREE/bin/holvex.exe" "$dir/"
  {
    printf '[handbuch.pdf]\r\nsize=6,00 MB\r\nstatus=Wartend\r\nurl=%s/handbuch.pdf\r\n\r\n' "$demo_url"
    printf '[treiber.zip]\r\nsize=12,00 MB\r\nstatus=Abgebrochen\r\nurl=%s/treiber.zip\r\n\r\n' "$demo_url"
    printf '[setup.exe]\r\nsize=24,00 MB\r\nstatus=Fertig\r\nurl=%s/setup.exe\r\n\r\n' "$demo_url"
    printf '[bilder-2003.zip]\r\nsize=0,00 MB\r\nstatus=Fehler\r\nurl=%s/archiv/bilder-2003.zip\r\n\r\n' "$demo_url"
    printf '[musik.mp3]\r\nsize=5,00 MB\r\nstatus=Wartend\r\nurl=%s/musik.mp3\r\n\r\n' "$demo_url"
  } >"$dir/load.hvq"
  printf '[allgemein]\r\nsplashscreen=1\r\nstatus=1\r\nautostart=%s\r\ndownloadfolder=%s\r\n' \
    "$autostart" "$(windows_path "$dir/Downloads")" >"$dir/load.ini"
  printf '%s/setup.exe\r\nhttps://www.example.org/sicher.zip\r\n%s/video.avi\r\n' "$demo_url" "$demo_url" \
    >"$dir/links.txt"
}
