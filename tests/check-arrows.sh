#!/usr/bin/env bash
# Shows that the build holds the plug-in's subsystems to their arrows (docs/architecture.md):
# with the include folders the build gives each subsystem's code, a header of every subsystem it
# may use is found, and a header of every other is not, so an include against the arrows fails
# to compile. Also refuses includes that climb out of a folder ("../").
#
#   tests/check-arrows.sh COMPILER INCLUDES_FILE SOURCE_DIR
#
# INCLUDES_FILE has one line per subsystem: its name, a tab, its include folders joined by ':'.
set -uo pipefail
compiler=$1
includes_file=$2
src=$3/src

# What each subsystem's code may include besides its own folder: the arrows, drawn in
# docs/architecture.md. A change here is a change of the design: change both.
declare -A uses=(
  [base]=""
  [mif]="base"
  [prefs]="mif base"
  [catalogs]="mif base"
  [tables]="catalogs content mif base"
  [content]="catalogs tables layout prefs mif base"
  [layout]="catalogs content prefs mif base"
  [import]="layout content tables catalogs prefs mif base"
  [res]="prefs mif base"
  [plugin]="import res layout content tables catalogs prefs mif base"
)

failures=0
fail() { echo "check-arrows: $*"; failures=$((failures + 1)); }

# Any header of `to`, included with the include folders of `from`'s code: found or not.
finds() {
  local dirs=$1 to=$2 header flags=()
  header=$(cd "$src/$to" && ls *.h | head -1)
  IFS=':' read -r -a list <<< "$dirs"
  for d in "${list[@]}"; do flags+=("-I$d"); done
  echo "#include \"$to/$header\"" | "$compiler" -std=c++20 -E -x c++ - -o /dev/null "${flags[@]}" 2> /dev/null
}

seen=0
while IFS=$'\t' read -r from dirs; do
  [ -n "$from" ] || continue
  [ -v "uses[$from]" ] || { fail "subsystem '$from' has no arrows drawn here"; continue; }
  seen=$((seen + 1))
  for to in "${!uses[@]}"; do
    allowed=0
    [ "$to" = "$from" ] && allowed=1
    for u in ${uses[$from]}; do [ "$u" = "$to" ] && allowed=1; done
    if finds "$dirs" "$to"; then
      [ $allowed = 1 ] || fail "$from can include $to, against the arrows"
    else
      [ $allowed = 0 ] || fail "$from cannot include $to, though the arrows allow it"
    fi
  done
done < "$includes_file"
[ $seen = ${#uses[@]} ] || fail "the build has $seen subsystems, the arrows ${#uses[@]}"

if grep -rn --include='*.h' --include='*.cpp' -E '^\s*#\s*include\s+"\.\./' "$src"; then
  fail "includes that climb out of their folder (above)"
fi
for dir in "$src"/*/; do
  name=$(basename "$dir")
  [ -v "uses[$name]" ] || fail "folder src/$name is no subsystem of the build"
done

[ $failures = 0 ] && echo "check-arrows: ${#uses[@]} subsystems, every include follows the arrows"
[ $failures = 0 ]
