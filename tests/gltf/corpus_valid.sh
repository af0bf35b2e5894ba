#!/usr/bin/env bash
# Exports every .x model of the corpus, and the model of every feature, with
# pelmora-convert, then validates all the files written with Khronos' glTF
# validator.
#   corpus_valid.sh PELMORA_CONVERT CORPUS_DIR FEATURES_X
# A model the program refuses fails the test, unless EXPECTED.tsv says it
# does not load.
set -uo pipefail
convert=$1 corpus=$2 features=$3
here=$(dirname "$0")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

declare -A expected
while IFS=$'\t' read -r file status _; do
  expected[$file]=$status
done <"$corpus/EXPECTED.tsv"

failed=0
written=()

# export NAME SOURCE OPTIONS...: one export, into OUT/NAME (a .gltf gets a
# folder of its own, its .bin and images beside it).
export_model() {
  local name=$1 source=$2 relative=$3
  shift 3
  local target=$out/$name
  [[ $name == *.gltf ]] && target=$out/${name%.gltf}/$name && mkdir -p "$(dirname "$target")"
  if "$convert" "$@" "$source" "$target"; then
    written+=("$target")
  elif [ -n "$relative" ] && [ "${expected[$relative]:-loaded}" != loaded ]; then
    echo "skipped $relative: it does not load (${expected[$relative]})"
  else
    echo "FAILED: pelmora-convert $* $source $name"
    failed=1
  fi
}

while IFS= read -r -d '' source; do
  relative=${source#"$corpus"/}
  name=${relative//\//_}
  export_model "${name%.*}.glb" "$source" "$relative"
done < <(find "$corpus" -type f -iname '*.x' -print0 | sort -z)

# A few as .gltf, with their textures as files beside them.
for relative in assimp/test.x assimp/kwxport_test_cubewithvcolors.x irrlicht/earth.x minetest_game/character.x; do
  name=${relative//\//_}
  export_model "${name%.*}.gltf" "$corpus/$relative" "$relative"
done
# The options that change what is written.
export_model Tor_up_z.glb "$corpus/atball/Tor.x" atball/Tor.x --up z
export_model vertex_colors.glb "$corpus/assimp/kwxport_test_cubewithvcolors.x" assimp/kwxport_test_cubewithvcolors.x --vertex-colors

export_model features.glb "$features" ""
export_model features.gltf "$features" ""
export_model features_colours_z.glb "$features" "" --vertex-colors --up z
export_model features_drop.glb "$features" "" --animation Drop
export_model features_bare.gltf "$features" "" --no-animations --no-textures

if [ ${#written[@]} -eq 0 ]; then
  echo "FAILED: nothing was written"
  exit 1
fi
node "$here/validate.mjs" "${written[@]}" || failed=1
exit $failed
