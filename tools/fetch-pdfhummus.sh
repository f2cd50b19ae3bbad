#!/usr/bin/env bash
# Fetches PDFHummus (shipped as C++ source inside the npm package muhammara), checks its
# integrity and unpacks it into build/deps. Does nothing when it is already there.
set -euo pipefail

version=6.0.6
integrity="sha512-wqN47a1v2tsiOKnqi5Wj2iWb9uCAGJS4SfpPekxumEBmc3F+2eznWgzt8E1Sru3M2tflX4V3F5TqDsiyg/WtRw=="
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
dest="$deps/muhammara-$version"
stamp="$dest/.unpacked"

[ -f "$stamp" ] && exit 0

mkdir -p "$deps"
work=$(mktemp -d "$deps/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "fetch-pdfhummus: npm pack muhammara@$version"
(cd "$work" && npm pack "muhammara@$version" --silent >/dev/null) \
  || { echo "fetch-pdfhummus: npm pack muhammara@$version failed" >&2; exit 1; }
tgz="$work/muhammara-$version.tgz"
[ -f "$tgz" ] || { echo "fetch-pdfhummus: npm pack produced no $tgz" >&2; exit 1; }

actual="sha512-$(openssl dgst -sha512 -binary "$tgz" | base64 -w0)"
if [ "$actual" != "$integrity" ]; then
  echo "fetch-pdfhummus: integrity check failed for muhammara@$version" >&2
  echo "  expected $integrity" >&2
  echo "  got      $actual" >&2
  exit 1
fi

rm -rf "$dest"
mkdir -p "$work/unpacked"
tar -xzf "$tgz" -C "$work/unpacked" \
  || { echo "fetch-pdfhummus: unpacking failed" >&2; exit 1; }
for d in PDFWriter LibAesgm; do
  [ -d "$work/unpacked/package/src/deps/$d" ] \
    || { echo "fetch-pdfhummus: the package has no src/deps/$d" >&2; exit 1; }
done
mkdir -p "$dest"
mv "$work/unpacked/package/src/deps/PDFWriter" "$work/unpacked/package/src/deps/LibAesgm" "$dest/"
touch "$stamp"
