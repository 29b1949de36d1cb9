#!/usr/bin/env bash
# Sets up what this machine lacks, builds Korvane, then starts it or runs every test.
#   scripts/korvane.sh starten [ARGS…]   program and data folder ~/Korvane (or $KORVANE_ORDNER)
#   scripts/korvane.sh testen
# Both are idempotent: a second run installs nothing and builds only what changed.
set -euo pipefail

quelle=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bau="$quelle/build"
aktion=${1:-}
shift || true

pakete=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n zlib1g-dev libjpeg62-turbo-dev
        fonts-dejavu-core fonts-liberation xvfb xauth imagemagick qpdf poppler-utils chromium
        librsvg2-bin dpkg-dev file desktop-file-utils appstream xdg-utils shared-mime-info libglib2.0-bin
        x11-utils)
command -v npm >/dev/null 2>&1 || pakete+=(nodejs npm)

fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$p")
done
if ((${#fehlend[@]})); then
  als_root=()
  [ "$(id -u)" -eq 0 ] || als_root=(sudo)
  echo "Installiere: ${fehlend[*]}"
  "${als_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
fi

# The pinned chart script of the HTML page.
if [ ! -f "$quelle/node_modules/chart.js/dist/Chart.min.js" ] ||
   ! grep -q '"version": "2.9.4"' "$quelle/node_modules/chart.js/package.json"; then
  (cd "$quelle" && npm ci --no-audit --no-fund --loglevel=error)
fi

[ -f "$bau/build.ninja" ] || cmake -G Ninja -S "$quelle" -B "$bau" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$bau"

case "$aktion" in
  starten)
    # Korvane makes its folder and puts the templates and the guide there itself; a table given
    # is taken relative to the folder this was called from.
    exec "$bau/bin/korvane" "$@"
    ;;
  testen)
    ctest --test-dir "$bau" --output-on-failure -j2
    ;;
  *)
    echo "Aufruf: $0 starten|testen" >&2
    exit 2
    ;;
esac
