# Sourced by the scripts that drive a program's windows with xdotool.
# wait_window PATTERN [SECONDS]: waits up to SECONDS (default 30) until a visible window whose
# caption matches PATTERN exists and prints its id; otherwise says so on stderr and fails.
wait_window() {
  local tries=$(( ${2:-30} * 4 )) id
  for _ in $(seq "$tries"); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.25
  done
  echo "$(basename "$0"): no window named '$1' appeared" >&2
  return 1
}
