#!/bin/sh
# Regenerates the shipped data into a scratch directory and fails when any
# generated file differs from what is committed in data/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

py=python3
if ! $py -c 'import PIL, numpy' 2>/dev/null && [ -x /usr/bin/python3 ]; then
    py=/usr/bin/python3
fi
"$py" "$here/generate_data.py" "$tmp"
# twice, to catch anything that depends on time or on a previous run
"$py" "$here/generate_data.py" "$tmp/again"

status=0
for f in $(cd "$tmp" && find . -path ./again -prune -o -type f -print | sort); do
    if ! cmp -s "$tmp/$f" "$tmp/again/$f"; then
        echo "not reproducible: $f" >&2
        status=1
    fi
    if ! cmp -s "$tmp/$f" "$root/data/$f"; then
        echo "differs from data/: $f" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "data/ matches its generators"
exit $status
