#!/bin/sh
# lintra-info on an empty settings store in an empty directory: prints the defaults, exits 0.
set -u
info=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
TESSEL_USER_HIVE="$dir/user.reg" "$info" > out.txt || { cat out.txt; exit 1; }
cat out.txt
for expected in "MaxLevel=0 LimRecs=100000 LimTime=4320 MaxFiles=1 Rotate=1" "every line in mode 1" \
    "ReqTimeout=2" "SkipIfEmpty=1" "CycleCount=1" "Disabled commands (./discmd.ini): none" \
    "Log files on: none"; do
  grep -qF "$expected" out.txt || { echo "missing: $expected"; exit 1; }
done
[ -z "$(ls "$dir" | grep -F .log)" ] || { echo "a log file was created"; exit 1; }
