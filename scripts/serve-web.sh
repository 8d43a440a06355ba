#!/usr/bin/env bash
# Serves a published page (kestrun-forge web) on localhost and says where.
# $1 the page's folder, $2 the port (default 8000).
set -euo pipefail
folder="$1"
port="${2:-8000}"
[ -f "$folder/index.html" ] || { echo "serve-web: no index.html in $folder" >&2; exit 2; }
echo "Play in a browser at http://localhost:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$folder"
