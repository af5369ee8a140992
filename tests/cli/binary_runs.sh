#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the real tonbrix-extract binary as a script would: usage error, the sample mail,
# a name collision and a hostile name. Usage: binary_runs.sh TONBRIX_EXTRACT DATA_DIR
set -eu
bin=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

status=0
"$bin" >/dev/null 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "no MAIL: exit $status, want 2"
grep -q "^tonbrix-extract: " "$work/err" || fail "usage error not explained"

out=$("$bin" -o "$work/out" "$data/tune.eml")
[ "$out" = "$work/out/tune.mid" ] || fail "printed '$out'"
cmp "$work/out/tune.mid" "$data/tune.mid" || fail "decoded bytes differ"

out=$("$bin" -o "$work/out" "$data/tune.eml")
[ "$out" = "$work/out/tune-2.mid" ] || fail "collision gave '$out'"
cmp "$work/out/tune.mid" "$data/tune.mid" || fail "first file changed"

mkdir "$work/deep" "$work/deep/out"
out=$(cd "$work/deep" && "$bin" -o out "$data/hostile-name.eml")
[ "$out" = "out/x.mid" ] || fail "hostile name gave '$out'"
[ ! -e "$work/x.mid" ] && [ ! -e "$work/deep/x.mid" ] || fail "wrote outside the folder"
echo "tonbrix-extract binary: all runs passed"
