#!/usr/bin/env bash
# tamsk-cli.exe under Wine against the Linux build, byte for byte: the tree
# (with and without string literals) and the dependency file, of every
# project in examples/ and, when present, in the shared corpus. The project
# folder is reached through a drive letter of its own (T:).
#   cli_matches_linux.sh WINE_RUN PREFIX TAMSK_CLI_EXE LINUX_TAMSK_CLI EXAMPLES [CORPUS]
set -euo pipefail
wine_run="$1" prefix="$2" exe="$3" linux="$4" examples="$5" corpus="${TAMSK_CORPUS:-${6:-}}"
if [ ! -x "$linux" ]; then
  echo "the Linux tamsk-cli is not built: $linux" >&2
  exit 1
fi
work="$(mktemp -d)"
trap 'rm -f "$prefix/dosdevices/t:"; rm -rf "$work"' EXIT

compare_folder() {  # a copy of folder in $work/t, seen from Windows as T:
  local folder="$1" label="$2" failures=0
  rm -rf "$work/t"
  cp -r "$folder" "$work/t"
  "$wine_run" "$prefix" cmd /c exit 0 >/dev/null  # the prefix exists from here on
  ln -sfn "$work/t" "$prefix/dosdevices/t:"
  while IFS= read -r -d '' project; do
    local relative="${project#"$work/t/"}"
    local windows="T:\\${relative//\//\\}"
    for literals in "" --parse-literals; do
      local got want code_got code_want
      code_want=0; want="$(cd "$work" && env -u WATCOM "$linux" tree "$project" $literals | od -An -c)" || code_want=$?
      code_got=0; got="$(env -u WATCOM "$wine_run" "$prefix" "$exe" tree "$windows" $literals | od -An -c)" || code_got=$?
      if [ "$got" != "$want" ] || [ "$code_got" != "$code_want" ]; then
        echo "$label/$relative: tree $literals differs (exit $code_got, Linux $code_want)" >&2
        diff <(echo "$want") <(echo "$got") | head -6 >&2 || true
        failures=$((failures + 1))
      fi
    done
    local dep="${project%.*}_dep.Txt"
    env -u WATCOM "$linux" export "$project" >/dev/null 2>&1 || true
    mv "$dep" "$work/linux_dep.Txt" 2>/dev/null || : >"$work/linux_dep.Txt"
    local exported=0
    env -u WATCOM "$wine_run" "$prefix" "$exe" export "$windows" >/dev/null 2>"$work/export.err" ||
      exported=$?
    if ! cmp -s "$dep" "$work/linux_dep.Txt"; then
      echo "$label/$relative: dependency file differs (exit $exported)" >&2
      head -c 600 "$work/export.err" >&2 || true
      cmp "$dep" "$work/linux_dep.Txt" >&2 || true
      failures=$((failures + 1))
    fi
    rm -f "$dep"
  done < <(find "$work/t" -iname '*.wpj' -print0)
  return $failures
}

status=0
compare_folder "$examples" examples || status=1
if [ -n "$corpus" ] && [ -d "$corpus" ]; then
  compare_folder "$corpus" corpus || status=1
else
  echo "no shared corpus at '${corpus}': compared the examples only"
fi
exit $status
