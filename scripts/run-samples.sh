#!/usr/bin/env bash
# `make run`: shows what brindle-cli does with the sample pictures and says where the results are.
set -euo pipefail
cli=${1:?}; samples=${2:?}; results=${3:?}
rm -rf "$results"
mkdir -p "$results"
"$cli" --version
"$cli" recipe default > "$results/default_photo_process.sz"
"$cli" recipe normalize "$results/default_photo_process.sz" > "$results/normalized.sz"
echo "The default recipe (GBK, CR LF) is in $results/default_photo_process.sz;"
echo "as the recipe writer writes it: $results/normalized.sz"
echo "Sample pictures are in $samples"
