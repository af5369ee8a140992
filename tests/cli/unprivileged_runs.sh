#!/bin/sh
# SPDX-License-Identifier: MIT
# Failures that root would bypass, run as an unprivileged user: an output folder without
# write permission, a read-only file in the way, an unreadable mail. Each must give a clear
# message and leave what is on disk as it was.
# Usage: unprivileged_runs.sh TONBRIX_EXTRACT DATA_DIR
set -eu
bin=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
as_user=""
if [ "$(id -u)" -eq 0 ]; then
  as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
fi
# The build may lie in a folder the other user cannot enter: run a copy from here.
cp "$bin" "$work/tonbrix-extract"
chmod 755 "$work/tonbrix-extract"
bin=$work/tonbrix-extract
cp "$data/tune.eml" "$work/tune.eml"
chmod 644 "$work/tune.eml"

mkdir "$work/locked"
chmod 555 "$work/locked"
status=0
$as_user "$bin" -o "$work/locked" "$work/tune.eml" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "read-only folder: exit $status"
grep -q "を作成できません: Permission denied" "$work/err" || fail "read-only folder: $(cat "$work/err")"
[ -z "$(ls "$work/locked")" ] || fail "read-only folder: something was written"

mkdir "$work/open"
chmod 777 "$work/open"
printf keep >"$work/open/tune.mid"
chmod 444 "$work/open/tune.mid"
status=0
$as_user "$bin" -f -o "$work/open" "$work/tune.eml" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "read-only file with -f: exit $status"
grep -q "tune.mid を作成できません: Permission denied" "$work/err" || fail "read-only file: $(cat "$work/err")"
[ "$(cat "$work/open/tune.mid")" = keep ] || fail "read-only file was changed"
out=$($as_user "$bin" -o "$work/open" "$work/tune.eml")
[ "$out" = "$work/open/tune-2.mid" ] || fail "read-only file without -f gave '$out'"
[ "$(cat "$work/open/tune.mid")" = keep ] || fail "read-only file was changed"

chmod 000 "$work/tune.eml"
status=0
$as_user "$bin" -o "$work/open" "$work/tune.eml" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "unreadable mail: exit $status"
grep -q "を開けません: Permission denied" "$work/err" || fail "unreadable mail: $(cat "$work/err")"
echo "unprivileged runs: all passed"
