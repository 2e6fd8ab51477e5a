#!/usr/bin/env bash
# Plants one fault at a time in the core modules, builds only what the fault touches and runs every
# test executable built from the fault's file (its module's tests and those of every module that
# links it, the cli and end-to-end tests included), and reports whether they caught it. The file is restored after each fault, also on Ctrl-C.
#
#   scripts/mutants.sh            every fault
#   scripts/mutants.sh depfile    only faults whose id matches "depfile" (a regex: 'copy|link')
#   scripts/mutants.sh --check    only tells which faults still find their line (no build)
#
# A fault names its line by a code fragment that must occur on exactly one line of its file; when
# the code has changed so that it does not, the fault is reported "n/a" instead of planted blindly.
# Builds in build/coverage (the "coverage" preset: no GUI, no optimisation, so rebuilds are quick).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="$root/build/coverage"
filter="${1:-}"
log="$build/mutants.log"
per_test_timeout=300
per_test_memory_kb=$((4 * 1024 * 1024))

# id | file | fragment | replacement. The fragment is replaced on its one line, literally.
faults=(
  "asciicase-compare-case-kept|classlib/core/asciicase.cpp|const auto cb = static_cast<unsigned char>(AsciiLower(b[i]));|const auto cb = static_cast<unsigned char>(b[i]);"
  "asciicase-compare-swapped|classlib/core/asciicase.cpp|return ca < cb ? -1 : 1;|return ca < cb ? 1 : -1;"
  "wstring-compare-swapped|classlib/core/wstring.cpp|return order < 0 ? -1 : (order > 0 ? 1 : 0);|return order < 0 ? 1 : (order > 0 ? -1 : 0);"
  "asciicase-fold-off-by-one|classlib/core/asciicase.h|return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;|return (c >= 'A' && c < 'Z') ? char(c - 'A' + 'a') : c;"
  "pathrules-backslash-only|classlib/core/pathrules.h|return c == '\\\\' \|\| c == '/';|return c == '\\\\';"
  "pathrules-drive-without-letter|classlib/core/pathrules.cpp|path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':'|path.size() >= 2 && path[1] == ':'"
  "pathrules-parent-kept|classlib/core/pathrules.cpp|kept.pop_back();|(void)kept;"
  "pathrules-join-separator-dropped|classlib/core/pathrules.cpp|if (!joined.empty() && !IsPathSeparator(joined.back())) {|if (false) {"
  "wtokens-escaped-quote-dropped|classlib/core/wtokens.cpp|if (pos_ > 0 && text_[pos_ - 1] == '\\\\') {|if (false) {"
  "wtokens-empty-pieces-dropped|classlib/core/wtokens.cpp|if (!piece_.empty() \|\| rules_.empty == TokenEmpty::Keep) {|if (!piece_.empty()) {"
  "wliststore-column-position-off-by-one|classlib/core/wliststore.cpp|if (position < 0 \|\| position > ColumnCount()) {|if (position < 0 \|\| position >= ColumnCount()) {"
  "wliststore-cell-padding-dropped|classlib/core/wliststore.cpp|target.width = WidestCell(column) + kCellPadding;|target.width = WidestCell(column);"
  "hostfs-link-below-followed|classlib/core/hostfs_posix.cpp|O_RDONLY \| O_DIRECTORY \| O_NOFOLLOW \| O_CLOEXEC);|O_RDONLY \| O_DIRECTORY \| O_CLOEXEC);"
  "wfilepath-drive-off-by-one|classlib/core/wfilepath.cpp|text.size() >= 2 && text[1] == ':'|text.size() > 2 && text[1] == ':'"
  "wtreestore-sorted-equal-order|classlib/core/wtreestore.cpp|CompareIgnoringAsciiCase(LabelText(At(sibling).label), label) > 0|CompareIgnoringAsciiCase(LabelText(At(sibling).label), label) >= 0"
  "wprofile-cr-kept|classlib/core/wprofile.cpp|if (!line.empty() && line.back() == '\\r') {|if (false) {"
  "wprofile-cr-missing|classlib/core/wprofile.cpp|joined += \"\\r\\n\";|joined += \"\\n\";"
  "wprofile-insert-off-by-one|classlib/core/wprofile.cpp|static_cast<std::ptrdiff_t>(lastFilled + 1)|static_cast<std::ptrdiff_t>(lastFilled)"
  "linesource-cr-kept|project/linesource.cpp|if (length > 0 && start[length - 1] == '\\r') {|if (false) {"
  "linesource-eof-mark-kept|project/linesource.cpp|end_ > 0 && contents_[end_ - 1] == kDosEndOfFile|false"
  "linesource-version-digits-off-by-one|project/linesource.cpp|digits.size() > kMaxVersionDigits|digits.size() >= kMaxVersionDigits"
  "projectfilescan-reference-line-off-by-one|project/projectfilescan.cpp|constexpr int kReferenceLine = 12;|constexpr int kReferenceLine = 11;"
  "wctarget-debug-flag-flipped|project/wctarget.cpp|debug = line.starts_with('1');|debug = line.starts_with('0');"
  "wctarget-newer-layout-dropped|project/wctarget.cpp|const int shift = layout == SwitchLayout::Newer ? 1 : 0;|const int shift = 0;"
  "wctarget-star-item-kept|project/wctarget.cpp|if (line.starts_with('*')) {|if (false) {"
  "projecttree-basename-double-dot|project/projecttree.cpp|dot + 1 < name.size() && name[dot + 1] != '.'|dot + 1 < name.size()"
  "projecttree-switch-groups-swapped|project/projecttree.cpp|AddTo(debug ? groups.debug : groups.release, text);|AddTo(debug ? groups.release : groups.debug, text);"
  "imagetypes-code-position-off-by-one|project/imagetypes.cpp|return position <= code.size() ? code[position - 1] : '\\0';|return position < code.size() ? code[position - 1] : '\\0';"
  "depfile-cr-missing|depscan/depfile.cpp|constexpr std::string_view kLineEnd = \"\\r\\n\";|constexpr std::string_view kLineEnd = \"\\n\";"
  "depfile-suffix-case|depscan/depfile.cpp|path.Concat(\"_dep.Txt\");|path.Concat(\"_dep.txt\");"
  "wcinclude-block-comment-end|depscan/wcinclude.cpp|if (before == '*' && c == '/') {|if (c == '/') {"
  "wcinclude-angle-include-dropped|depscan/wcinclude.cpp|if (c == '\"' \|\| c == '<') {|if (c == '\"') {"
  "includeresolution-quote-flipped|depscan/includeresolution.cpp|if (opener == '\"') {|if (opener != '\"') {"
  "includeresolution-own-folder-ignored|depscan/includeresolution.cpp|if (ownPlace.In(folder) && place.In(ownPlace)) {|if (false) {"
  "hostfs-copy-destination-without-case|classlib/core/hostfs_posix.cpp|ResolveWithKey(folder.empty() ? std::string_view(\".\") : folder, key, Lookup::Exact);|ResolveWithKey(folder.empty() ? std::string_view(\".\") : folder, key, Lookup::IgnoringCase);"
  "wprofile-unreadable-file-replaced|classlib/core/wprofile.cpp|if (!read.ok() && read.code != HostStatus::Code::NotFound) {|if (false) {"
  "dependencygraph-file-read-again|depscan/dependencygraph.cpp|    host.asked = true;|    host.asked = false;"
  "dependencygraph-chain-stops-before-source|depscan/dependencygraph.cpp|for (std::size_t i = stack.size() - 1; i-- > 0;) {|for (std::size_t i = stack.size() - 1; i-- > 1;) {"
  "cli-output-failure-ignored|cli/runcli.cpp|if ((!out \|\| !err) && code == ExitOk) {|if (!err && code == ExitOk) {"
  "dependencyscan-limit-off-by-one|depscan/dependencyscan.cpp|                if (++walked_ > nodeLimit_) {|                if (++walked_ > nodeLimit_ + 1) {"
  "filelist-listed-paths-forgotten|depscan/filelist.cpp|pathKeys_.insert(PathKey(tree_.Label(path)));|(void)path;"
  "filelist-extensionless-kept|depscan/filelist.cpp|if (filelistNode_ == kNoItem \|\| path.find('.') == std::string_view::npos) {|if (filelistNode_ == kNoItem) {"
  "includeresolution-quoted-list-not-split|depscan/includeresolution.cpp|for (const WString& folder : SplitTokens(piece.View(), semicolons)) {|for (const WString& folder : std::vector<WString>{piece}) {"
  "includeresolution-unset-macro-dropped|depscan/includeresolution.cpp|expanded += value ? std::string_view(*value) : text.substr(start, close + 1 - start);|expanded += value ? std::string_view(*value) : std::string_view();"
  "includeresolution-resource-beside-script-dropped|depscan/includeresolution.cpp|return ResolveNextToFile(targetFolder, scriptFolder, piece, fs);|return {};"
  "wcinclude-load-options-refused|depscan/wcinclude.cpp|!std::all_of(pieces.begin() + 2, pieces.end() - 1, IsMemoryOption)) {|pieces.size() != 3) {"
  "wcinclude-backslash-pairs-kept|depscan/wcinclude.cpp|if (text[i] == '\\\\' && i + 1 < text.size() && text[i + 1] == '\\\\') {|if (false) {"
  "resourcescript-tab-kept|depscan/resourcescript.cpp|line_ += static_cast<char>(c == '\\t' ? ' ' : c);|line_ += static_cast<char>(c);"
  "wcopy-destination-slash-dropped|copy/wcopy.cpp|if (folder.back() != '/') {|if (false) {"
  "wcopy-counts-swapped|copy/wcopy.cpp|++(copied ? copied_ : failed_);|++(copied ? failed_ : copied_);"
  "wcopy-covered-source-ignored|copy/wcopy.cpp|return found != coveredSources_.end() ? found->second : SourcePath(name, folder);|return SourcePath(name, folder);"
  "copyrun-unlisted-dropped|copy/copyrun.cpp|} else if (role == ProjectFileRole::Shown && listed.insert(*identity).second) {|} else if (false) {"
  "targetlabel-file-end-ignored|project/targetlabel.cpp|return label.ends_with(']') ? label.rfind(kOpen) : std::string_view::npos;|return label.rfind(kOpen);"
  "projectfiles-identity-ignored|project/projectfiles.cpp|fs.Identify(source, identity).ok() && identity == written;|fs.Identify(source, identity).ok() && false;"
  "dependencyview-shown-files-dropped|depscan/dependencyview.cpp|            visit(node.label);|            (void)node;"
  "projectwalk-chain-ignored|depscan/projectwalk.cpp|visit.sameEverywhere = !graph->DependsOnChain(graphTarget, node.file);|visit.sameEverywhere = true;"
  "projectwalk-open-cycle-ignored|depscan/projectwalk.cpp|visit.sameTreeEverywhere = visit.sameEverywhere && !cycles.IsOpen(group);|visit.sameTreeEverywhere = visit.sameEverywhere;"
  "wtreewalk-floor-passed|classlib/core/wtreewalk.h|        if (level == floor) {|        if (level < floor) {"
  "cli-copy-failure-exit|cli/copycommand.cpp|return summary.failed > 0 ? ExitSomeWorkFailed : loaded;|return summary.failed > 1 ? ExitSomeWorkFailed : loaded;"
  "cli-tree-indent-off-by-one|cli/treecommand.cpp|DumpTree(tree, tree.FirstRoot(), out, 0, |DumpTree(tree, tree.FirstRoot(), out, 1, "
  "cli-parse-flag-swapped|cli/runcli.cpp|options.parseLiterals ? ParseLiterals::On : ParseLiterals::Off|options.parseLiterals ? ParseLiterals::Off : ParseLiterals::On"
  "cli-limit-exit-dropped|cli/cliload.cpp|return outcome.complete && outcome.problems.empty() ? ExitOk : ExitSomeWorkFailed;|return outcome.problems.empty() ? ExitOk : ExitSomeWorkFailed;"
)

# The test executables built from a file: those whose inputs (as ninja lists them, libraries
# followed) hold it; a header counts as the source file beside it.
tests_for() {
  local source="$root/$1" t
  [[ "$1" == *.h ]] && source="$root/${1%.h}.cpp"
  for t in "${all_tests[@]}"; do
    if grep -qxF "$source" "$build/bin_of/$t.inputs"; then
      echo "$t"
    fi
  done
}

# Replaces the fragment on the one line that holds it; exit 3 when not exactly one line does.
plant() {
  python3 - "$@" <<'PY'
import sys
path, fragment, replacement = sys.argv[1:4]
with open(path, encoding="utf-8", newline="") as f:
    lines = f.readlines()
hits = [i for i, line in enumerate(lines) if fragment in line]
if len(hits) != 1:
    sys.exit(3)
lines[hits[0]] = lines[hits[0]].replace(fragment, replacement, 1)
with open(path, "w", encoding="utf-8", newline="") as f:
    f.writelines(lines)
print(hits[0] + 1)
PY
}

backup=""
planted=""
restore() {
  if [ -n "$backup" ]; then
    # A plain copy gives the file a new time, so the next build drops the faulty object.
    cat "$backup" >"$planted"
    rm -f "$backup"
    backup=""
  fi
}
trap restore EXIT
trap 'restore; echo "mutants: interrupted, $planted restored" >&2; exit 130' INT TERM

# A fault may make a test loop or eat memory: each executable gets a time and a memory cap, in a
# subshell so that its end by a signal is told to the log rather than the terminal.
run_tests() {
  for t in "$@"; do
    if ! (ulimit -v "$per_test_memory_kb" && timeout -k 10 "$per_test_timeout" "$build/bin_of/$t") \
      >>"$log" 2>&1; then
      return 1
    fi
  done
}

check_only=0
if [ "$filter" = "--check" ]; then
  check_only=1
  filter=""
fi

all_tests=(classlib_core_tests project_tests depscan_tests copy_tests cli_tests e2e_tests)
if [ "$check_only" = 0 ]; then
cmake --preset coverage >/dev/null
mkdir -p "$build/bin_of"
: >"$log"
echo "mutants: building the unchanged code and checking that its tests pass"
cmake --build "$build" --target "${all_tests[@]}" >>"$log" 2>&1
for t in "${all_tests[@]}"; do
  ln -sf "$(find "$build" -name "$t" -type f -executable | head -n 1)" "$build/bin_of/$t"
  ninja -C "$build" -t inputs "$t" >"$build/bin_of/$t.inputs"
done
if ! run_tests "${all_tests[@]}"; then
  echo "mutants: the unchanged code fails its tests; see $log" >&2
  exit 1
fi
fi

caught=0 missed=0 skipped=0 applies=0
missed_ids=()
for entry in "${faults[@]}"; do
  IFS='|' read -r id file fragment replacement <<<"${entry//\\|/$'\x01'}"
  fragment="${fragment//$'\x01'/|}"
  replacement="${replacement//$'\x01'/|}"
  [[ -n "$filter" && ! "$id" =~ $filter ]] && continue
  planted="$root/$file"
  if [ ! -f "$planted" ]; then
    printf '%-8s %-45s %s\n' "n/a" "$id" "$file is gone"
    skipped=$((skipped + 1))
    continue
  fi
  backup="$(mktemp)"
  cat "$planted" >"$backup"
  if ! line=$(plant "$planted" "$fragment" "$replacement"); then
    rm -f "$backup"
    backup=""
    printf '%-8s %-45s %s\n' "n/a" "$id" "$file: the line is no longer there"
    skipped=$((skipped + 1))
    continue
  fi
  if [ "$check_only" = 1 ]; then
    restore
    printf '%-8s %-45s %s\n' "applies" "$id" "$file:$line"
    applies=$((applies + 1))
    continue
  fi
  mapfile -t tests < <(tests_for "$file")
  echo "=== $id ($file:$line)" >>"$log"
  verdict=missed
  if ! cmake --build "$build" --target "${tests[@]}" >>"$log" 2>&1; then
    verdict="n/a"  # a fault that does not compile tells nothing
  elif ! run_tests "${tests[@]}"; then
    verdict=caught
  fi
  restore
  case "$verdict" in
    caught) caught=$((caught + 1)) ;;
    missed) missed=$((missed + 1)); missed_ids+=("$id") ;;
    *) skipped=$((skipped + 1)) ;;
  esac
  printf '%-8s %-45s %s\n' "$verdict" "$id" "$file:$line"
done

if [ "$check_only" = 1 ]; then
  echo "mutants: $applies apply, $skipped not applicable"
  exit 0
fi
echo "mutants: $caught caught, $missed missed, $skipped not applicable"
if [ ${#missed_ids[@]} -gt 0 ]; then
  echo "missed: ${missed_ids[*]}"
fi
