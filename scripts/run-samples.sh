#!/usr/bin/env bash
# `make run`: the main batch over the sample pictures with the default recipe plus a resize to
# 800 pixels wide, and where the results are.
set -euo pipefail
cli=${1:?}; samples=${2:?}; results=${3:?}
rm -rf "$results"
mkdir -p "$results"
"$cli" --version
echo "Processing the sample pictures in $samples ..."
status=0
"$cli" batch --out "$results" bSize=1 sizeValue=800 "$samples" || status=$?
echo
echo "Results (JPEG, 800 pixels wide, default recipe otherwise): $results"
ls -1 "$results"
exit $status
