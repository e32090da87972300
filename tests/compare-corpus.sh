#!/usr/bin/env bash
# Converts every MIF file of the corpus with two builds of Tessel and checks that both make the
# same packages and the same document-model dumps, byte for byte. For changes that must not
# alter any output (reshaping the code, speeding it up).
#
#   tests/compare-corpus.sh BEFORE AFTER [CORPUS_DIR]
#
# BEFORE and AFTER are build folders (holding app/tessel) or git revisions; a revision is built
# once, in Release, under build-compare/<commit>. CORPUS_DIR defaults to the team's shared corpus
# (../shared/corpus) plus samples/. Exits 1 and names each file that differs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tessel_of() {
  local what=$1
  if [ -x "$what/app/tessel" ]; then
    echo "$(cd "$what" && pwd)/app/tessel"
    return
  fi
  local commit
  commit=$(git rev-parse --verify --quiet "$what^{commit}") || {
    echo "compare-corpus.sh: '$what' is neither a build folder nor a revision" >&2
    exit 2
  }
  local dir=$root/build-compare/$commit
  if [ ! -x "$dir/build/app/tessel" ]; then
    rm -rf "$dir"
    mkdir -p "$dir"
    git archive "$commit" | tar -x -C "$dir"
    cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_TESTS=OFF > /dev/null
    cmake --build "$dir/build" --target tessel Tessel >&2
  fi
  echo "$dir/build/app/tessel"
}

before=$(tessel_of "$1")
after=$(tessel_of "$2")
corpus=${3:-}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if [ -n "$corpus" ]; then
  mapfile -d '' files < <(find "$corpus" -iname '*.mif' -print0 | sort -z)
else
  mapfile -d '' files < <(find "$root/../shared/corpus" "$root/samples" -iname '*.mif' -print0 | sort -z)
fi

differ=0
for mif in "${files[@]}"; do
  name=$(echo "$mif" | md5sum | cut -c1-12)
  for side in before after; do
    tessel=$before
    [ $side = after ] && tessel=$after
    mkdir -p "$out/$side" "$out/work"
    # Both sides write to the same names (the messages name them), then move aside. A file that
    # does not convert must fail the same way on both sides.
    "$tessel" convert "$mif" -o "$out/work/$name.idml" --json "$out/work/$name.json" \
      > /dev/null 2> "$out/$side/$name.log" || echo "exit $?" >> "$out/$side/$name.log"
    for kind in idml json; do
      if [ -e "$out/work/$name.$kind" ]; then mv "$out/work/$name.$kind" "$out/$side/$name.$kind"; fi
    done
  done
  for kind in idml json log; do
    a=$out/before/$name.$kind
    b=$out/after/$name.$kind
    if [ -e "$a" ] || [ -e "$b" ]; then
      if ! cmp -s "$a" "$b"; then
        echo "differs: $mif ($kind)"
        differ=1
      fi
    fi
  done
done
if [ $differ = 0 ]; then
  echo "compare-corpus.sh: ${#files[@]} files, packages, dumps and messages identical"
fi
exit $differ
