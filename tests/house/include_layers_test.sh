#!/bin/bash
# Every include under src/ points down the layers (or stays in its own folder): a lower
# folder never includes a higher one. Usage: include_layers_test.sh <src folder>
set -u
src=${1:?usage: include_layers_test.sh <src folder>}

# Lowest first. A folder missing here is a fault too, so a new folder gets its place.
layers=(common shell waveform analysis display instrument archive output main app)

declare -A rank
for i in "${!layers[@]}"; do
    rank[${layers[$i]}]=$i
done

bad=0
complain() {
    echo "$1"
    bad=1
}
# Lines "folder/file:#include "target"", one per include of the tree.
while IFS= read -r line; do
    rel=${line%%:*}
    target=${line#*\"}
    target=${target%\"*}
    from=${rel%%/*}
    to=${target%%/*}
    if [[ -z ${rank[$from]+x} ]]; then
        complain "$rel: folder '$from' has no place in the layer table"
    elif [[ $target != */* ]]; then
        continue # generated ui_*.h
    elif [[ -z ${rank[$to]+x} ]]; then
        complain "$rel includes $target: folder '$to' has no place in the layer table"
    elif ((rank[$to] > rank[$from])); then
        complain "$rel includes $target: '$from' sits below '$to'"
    fi
done < <(cd "$src" && grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
    --include='*.h' --include='*.cpp' -- */)

((bad)) && echo "Layers, lowest first: ${layers[*]}"
exit "$bad"
