#!/usr/bin/env bash
# Every translation (translations/ovelo_*.ts) is complete and up to date: lupdate, run over the
# sources into a copy of it with the options the build's update_translations uses, finds no text
# to add, none to drop and none unfinished, and leaves the copy as it was.
# Usage: translations.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate=$1
source=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
shopt -s nullglob
files=("$source"/translations/ovelo_*.ts)
[ ${#files[@]} -gt 0 ] || { echo "FAIL: no translation in $source/translations"; exit 1; }
for ts in "${files[@]}"; do
  name=$(basename "$ts")
  copy=$tmp/$name
  cp "$ts" "$copy"
  "$lupdate" -locations none -source-language zh_CN "$source/app" "$source/control" \
    -ts "$copy" >"$tmp/lupdate.log" 2>&1 || { cat "$tmp/lupdate.log"; exit 1; }
  if grep -n -B3 'type="unfinished"\|type="vanished"\|type="obsolete"\|<translation></translation>' \
    "$copy"; then
    echo "FAIL: $name lacks the texts above, or holds texts the sources no longer have"
    status=1
  fi
  if ! diff -u "$ts" "$copy"; then
    echo "FAIL: $name is not as lupdate makes it (cmake --build build --target update_translations)"
    status=1
  fi
  [ $status -eq 0 ] && echo "$name: $(grep -c '<message' "$ts") texts, all translated"
done
exit $status
