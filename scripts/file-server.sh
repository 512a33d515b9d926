# Sourced by the benchmarks: Python's own file server on loopback.
# start_file_server DIR FIRST_PORT: serves DIR on the first free port from FIRST_PORT on, waits
# until it answers, and sets server_pid and server_port.
start_file_server() {
  server_port=$2
  while (echo >/dev/tcp/127.0.0.1/$server_port) 2>/dev/null; do server_port=$((server_port + 1)); done
  /usr/bin/python3 -m http.server "$server_port" --bind 127.0.0.1 --directory "$1" >/dev/null 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do
    (echo >/dev/tcp/127.0.0.1/$server_port) 2>/dev/null && return 0
    sleep 0.05
  done
}
