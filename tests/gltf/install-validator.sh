#!/usr/bin/env bash
# Installs Khronos' glTF validator, at the version package-lock.json pins,
# into tests/gltf/node_modules (ignored by git), unless that version is there
# already. Needs Node.js and npm (scripts/install-deps.sh test).
set -euo pipefail
cd "$(dirname "$0")"

wanted=$(node -p 'require("./package-lock.json").packages["node_modules/gltf-validator"].version')
installed=$(node -p 'try { require("./node_modules/gltf-validator/package.json").version } catch { "" }')
if [ "$installed" = "$wanted" ]; then
  exit 0
fi
echo "Installing gltf-validator $wanted"
npm ci --ignore-scripts --no-audit --no-fund
