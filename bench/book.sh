#!/usr/bin/env bash
# Whole conversions of generated books, as a user runs them: `tessel convert` on books of one
# threaded frame a page (eight paragraphs a page, a table every 20 pages, a footnote every 5) of
# 1,000, 10,000 and 100,000 pages by default, each in a process of its own, with its CPU time,
# wall time and peak resident memory (GNU time). Then the longest corpus file against pandoc
# turning the same text (its DocBook source) into ICML, side by side, in CPU time.
#
#   bench/book.sh [BUILD] [PAGES...]     BUILD: a Release build folder (default build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
shift || true
pages=("$@")
[ ${#pages[@]} -gt 0 ] || pages=(1000 10000 100000)
tessel="$build/app/tessel"
mifgen="$build/bench/mifgen"
for tool in "$tessel" "$mifgen"; do
    [ -x "$tool" ] || { echo "book.sh: $tool is missing: build $build with -DTESSEL_BENCH=ON (scripts/bench.sh does)" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "book.sh: GNU time (/usr/bin/time, Debian package time) is missing" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TESSEL_LOG_DIR="$work/log"

# Runs a command under GNU time; prints "CPU s, wall s, peak MB" for it.
measure() {
    /usr/bin/time -f '%U %S %e %M' -o "$work/time" "$@" > "$work/out" 2>&1 || { cat "$work/out" >&2; return 1; }
    read -r user sys wall kb < "$work/time"
    awk -v u="$user" -v s="$sys" -v w="$wall" -v k="$kb" 'BEGIN { printf "%7.2f s CPU %7.2f s wall %8.1f MB peak", u + s, w, k / 1024 }'
}

printf '%-28s %s\n' "input" "tessel convert"
for n in "${pages[@]}"; do
    "$mifgen" "$n" book "$work/book.mif"
    size=$(stat -c %s "$work/book.mif")
    # A book past the default page limit (10,000) is converted with the largest limit there is.
    printf '%-28s %s\n' "book, $n pages ($((size / 1000000)) MB)" \
        "$(measure "$tessel" convert "$work/book.mif" -o "$work/book.idml" --max-pages 1000000)"
    rm -f "$work/book.mif" "$work/book.idml"
done

article=../shared/corpus/generated/openjade/article-long.mif
source=../shared/corpus/sources/article-long.xml
if [ ! -f "$article" ] || [ ! -f "$source" ]; then
    echo "book.sh: the corpus is not beside the project (../shared/corpus): no pandoc comparison" >&2
    exit 0
fi
printf '%-28s %s\n' "article-long.mif" "$(measure "$tessel" convert "$article" -o "$work/article.idml")"
if command -v pandoc > /dev/null; then
    printf '%-28s %s\n' "article-long.xml, pandoc" "$(measure pandoc -f docbook -t icml -s "$source" -o "$work/article.icml")"
else
    echo "book.sh: pandoc is missing (Debian package pandoc): no comparison" >&2
fi
