#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
  wine wine64 wine64-tools libwine-dev
  libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
  libfreetype-dev libjpeg-dev libpng-dev libtiff-dev zlib1g-dev
  xvfb xauth x11-utils fonts-crosextra-carlito fonts-dejavu-core fonts-wine
  googletest libgtest-dev libbenchmark-dev
  poppler-utils qpdf libxml2-utils ghostscript xdg-utils locales
  cmake ninja-build g++ ccache
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
command -v npm >/dev/null || { echo "install-packages: npm (Node.js) is needed to fetch PDFHummus; install Node.js with npm" >&2; exit 1; }
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-packages: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A fresh machine has empty package lists; refresh them once before installing.
  $sudo apt-get update -q || { echo "install-packages: apt-get update failed" >&2; exit 1; }
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" \
    || { echo "install-packages: apt-get install failed" >&2; exit 1; }
fi

# The PDF tests write files under a French locale, whose decimal comma must not reach them.
if ! locale -a 2>/dev/null | grep -qx 'fr_FR.utf8'; then
  echo "install-packages: generating the locale fr_FR.UTF-8"
  grep -qx 'fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null \
    || echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null || { echo "install-packages: locale-gen failed" >&2; exit 1; }
fi
