#!/usr/bin/env bash
# `cmake --install` into a staging folder, checked as the desktop's own tools see it: the
# layout, the icons' sizes, the desktop entry and the AppStream metadata by their validators,
# the manual pages by man with its warnings, the MIME type by xdg-mime on a staged MIME
# database, and the bash completion. Every command and option of tamsk-cli --help must be in
# its manual page and its completion.
#   install_test.sh BUILD_FOLDER APP_ID
set -euo pipefail
build="$1" app_id="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stage="$work/usr"
cmake --install "$build" --prefix "$stage" >/dev/null
status=0
fail() {
    echo "install_test: $*" >&2
    status=1
}

expected="bin/tamsk
bin/tamsk-cli
share/applications/$app_id.desktop
share/bash-completion/completions/tamsk-cli
share/doc/tamsk/changelog.Debian.gz
share/doc/tamsk/copyright
share/icons/hicolor/128x128/apps/tamsk.png
share/icons/hicolor/16x16/apps/tamsk.png
share/icons/hicolor/256x256/apps/tamsk.png
share/icons/hicolor/32x32/apps/tamsk.png
share/icons/hicolor/48x48/apps/tamsk.png
share/icons/hicolor/64x64/apps/tamsk.png
share/lintian/overrides/tamsk
share/man/man1/tamsk-cli.1.gz
share/man/man1/tamsk.1.gz
share/metainfo/$app_id.metainfo.xml
share/mime/packages/tamsk.xml"
actual="$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "the installed files differ from the list above (< expected, > installed)"
fi

for size in 16 32 48 64 128 256; do
    icon="$stage/share/icons/hicolor/${size}x$size/apps/tamsk.png"
    kind="$(file -b "$icon")"
    [[ "$kind" == "PNG image data, $size x $size, "* ]] || fail "$icon: $kind"
done

desktop-file-validate "$stage/share/applications/$app_id.desktop" || fail "desktop entry"
grep -qx 'Exec=tamsk --user-settings %f' "$stage/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not start the window with the user's settings"
appstreamcli validate --no-net "$stage/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "AppStream metadata: $(appstreamcli validate --no-net "$stage/share/metainfo/$app_id.metainfo.xml")"

for page in "$stage"/share/man/man1/*.1.gz; do
    warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# What tamsk-cli --help offers: its commands, and each command's options.
cli="$stage/bin/tamsk-cli"
manual="$(MANWIDTH=200 man -l "$stage/share/man/man1/tamsk-cli.1.gz" 2>/dev/null)"
completion="$stage/share/bash-completion/completions/tamsk-cli"
mapfile -t commands < <("$cli" --help | sed -n '/^Subcommands:/,/^$/p' | awk 'NR > 1 && NF {print $1}')
[ ${#commands[@]} -gt 0 ] || fail "tamsk-cli --help lists no commands"
for command in "${commands[@]}"; do
    grep -qE "^       $command( |$)" <<<"$manual" || fail "tamsk-cli.1 has no entry for $command"
    grep -qE "\[$command\]=[0-9]" "$completion" || fail "the completion does not know $command"
    offered="$(grep -E "^ *\[$command\]=[\"']?-" "$completion" | sed "s/^[^=]*=//; s/[\"']//g" || true)"
    for option in $("$cli" "$command" --help | sed -n '/^Options:/,/^$/p' | grep -oE -- '--[a-z][a-z-]+' | grep -vx -- --help); do
        grep -qF -- "$option" <<<"$manual" || fail "tamsk-cli.1 does not describe $option"
        [[ " $offered " == *" $option "* ]] ||
            fail "the completion does not offer $option for $command"
    done
done

# The MIME type, by name and, under another name, by the project file's first lines.
mkdir -p "$work/files"
cp "$root/examples/shapes/shapes.wpj" "$work/files/shapes.wpj"
cp "$root/examples/shapes/shapes.wpj" "$work/files/renamed.dat"
XDG_DATA_DIRS="$stage/share:/usr/share" update-mime-database "$stage/share/mime"
for file in shapes.wpj renamed.dat; do
    type="$(XDG_DATA_HOME="$stage/share" XDG_DATA_DIRS="$stage/share:/usr/share" \
        xdg-mime query filetype "$work/files/$file")"
    [ "$type" = "application/x-watcom-project" ] || fail "xdg-mime: $file is $type"
done

# The completion, as bash offers it (the folder holds a.wpj, B.WPJ, notes.txt and sub/).
completions="$(
    cd "$work/files" && rm -f ./* && touch a.wpj B.WPJ notes.txt && mkdir sub
    source /usr/share/bash-completion/bash_completion
    source "$completion"
    offers() {
        COMP_WORDS=(tamsk-cli "$@")
        COMP_CWORD=$#
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        _tamsk_cli tamsk-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
        echo "$* -> $(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' ')"
    }
    offers ''
    offers ex
    offers --
    offers tree ''
    offers tree --
    offers copy --parse-literals a.wpj ''
    offers copy a.wpj sub ''
    offers deps a.wpj --format ''
    offers deps a.wpj --format make ''
    offers includers a.wpj ''
)"
expected_completions=" -> copy cycles deps export includers missing stats tree
ex -> export
-- -> --help --version
tree  -> B.WPJ a.wpj sub
tree -- -> --help --parse-literals
copy --parse-literals a.wpj  -> sub
copy a.wpj sub  -> 
deps a.wpj --format  -> compile-commands dot json make
deps a.wpj --format make  -> 
includers a.wpj  -> B.WPJ a.wpj notes.txt sub"
if [ "$completions" != "$expected_completions" ]; then
    diff <(echo "$expected_completions") <(echo "$completions") >&2 || true
    fail "bash completion differs (< expected, > offered)"
fi
exit $status
