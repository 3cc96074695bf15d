#!/usr/bin/env bash
# Refreshes the vendored chart bundles of the report page from the npm registry:
# fetches each package with `npm pack`, copies its single minified bundle and
# its licence into third_party/NAME/, and rewrites NAME/README with the version.
# The build and the page never use the network; only this script does.
#
# Usage: third_party/refresh-vega.sh [VEGA_RANGE VEGA_LITE_RANGE VEGA_EMBED_RANGE]
# The default ranges are the major versions the page is written for.
set -euo pipefail
cd "$(dirname "$0")"
ranges=("${1:-6}" "${2:-6}" "${3:-7}")
packages=(vega vega-lite vega-embed)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for i in "${!packages[@]}"; do
  name=${packages[$i]}
  archive=$(cd "$work" && npm pack --silent "$name@${ranges[$i]}" | tail -n 1)
  mkdir -p "$work/$name"
  tar -xzf "$work/$archive" -C "$work/$name"
  version=$(node -p "require('$work/$name/package/package.json').version")
  licence=$(node -p "require('$work/$name/package/package.json').license")
  mkdir -p "$name"
  cp "$work/$name/package/build/$name.min.js" "$name/$name.min.js"
  cp "$work/$name/package/LICENSE" "$name/LICENSE"
  {
    echo "# $name $version"
    echo
    echo "npm package \`$name\`, version $version, licence $licence (see LICENSE)."
    echo "Only its single minified bundle \`build/$name.min.js\` is kept, unmodified, as"
    echo "\`$name.min.js\`. The report page embeds it at build time. Refresh with"
    echo "\`third_party/refresh-vega.sh\`."
    if [[ $name == vega-embed ]]; then
      echo
      echo "The bundle also carries vega-embed's own dependencies (vega-tooltip, vega-themes,"
      echo "vega-interpreter and vega-schema-url-parser, BSD-3-Clause like vega-embed;"
      echo "fast-json-patch and json-stringify-pretty-compact, MIT; semver, ISC; tslib, 0BSD)."
    fi
  } > "$name/README.md"
  echo "third_party/$name: $version" >&2
done
