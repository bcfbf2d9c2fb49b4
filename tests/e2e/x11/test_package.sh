#!/usr/bin/env bash
# The Debian package: its files where xscreensaver looks for them, no lintian error, and a settings
# panel whose leaf count has the range and default the program itself states.
source "$(dirname "$0")/harness.sh"
kv_need dpkg-deb lintian xmllint
deb=${KOVAREN_DEB:?}
[[ -f $deb ]] || kv_die "cannot set up: no $deb (build the target deb)"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/libexec/xscreensaver/kovaren ./usr/share/xscreensaver/config/kovaren.xml \
  ./usr/share/man/man6/kovaren.6.gz ./usr/share/doc/kovaren/copyright; do
  grep -qx "$file" <<<"$contents" || kv_die "the package lacks $file"
done

# lintian fails on an error tag (and when it cannot check at all).
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  kv_die "lintian: $(grep '^E:' "$work/lintian.log" || tail -n 1 "$work/lintian.log")"

dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$work" ./usr/share/xscreensaver/config/kovaren.xml
xml=$work/usr/share/xscreensaver/config/kovaren.xml
low=$(xmllint --xpath 'string(//number[@id="count"]/@low)' "$xml")
high=$(xmllint --xpath 'string(//number[@id="count"]/@high)' "$xml")
default=$(xmllint --xpath 'string(//number[@id="count"]/@default)' "$xml")
stated=$("$kovaren" --help | sed -n 's/.*--count N .* N from \([0-9]*\) to \([0-9]*\) (default \([0-9]*\)).*/\1 \2 \3/p')
[[ "$low $high $default" == "$stated" ]] ||
  kv_die "the panel's count is $low..$high (default $default), the program's ${stated:-unknown}"
[[ $(xmllint --xpath 'string(//command/@arg)' "$xml") == --root ]] || kv_die "the panel's command lacks --root"
echo "package: passed"
