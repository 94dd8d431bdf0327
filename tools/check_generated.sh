#!/bin/sh
# Regenerates the shipped data and the icons into scratch directories and fails
# when any generated file differs from what is committed in data/ or packaging/icons/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
tmp=$(mktemp -d)
icons=$(mktemp -d)
trap 'rm -rf "$tmp" "$icons"' EXIT INT TERM

py=python3
if ! $py -c 'import PIL, numpy' 2>/dev/null && [ -x /usr/bin/python3 ]; then
    py=/usr/bin/python3
fi
"$py" "$here/generate_data.py" "$tmp"
# twice, to catch anything that depends on time or on a previous run
"$py" "$here/generate_data.py" "$tmp/again"
"$py" "$here/generate_icons.py" "$icons"
"$py" "$here/generate_icons.py" "$icons/again"

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
for f in data/bin/game.ico $(cd "$root" && ls packaging/icons/*.png); do
    if ! cmp -s "$icons/$f" "$icons/again/$f"; then
        echo "not reproducible: $f" >&2
        status=1
    fi
    if ! cmp -s "$icons/$f" "$root/$f"; then
        echo "differs from its generator: $f" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "data/ and the icons match their generators"
exit $status
