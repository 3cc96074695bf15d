#!/bin/sh
# Writes the report page of a batch run with a 5-fold evaluation for the
# browser test:
#   batch_report.sh SHAPE PAGE
# SHAPE is "generated" (a table made by make_demo_data), "leukemia" or
# "prostate" (the public tables beside the project; exit 77, the skip code,
# when they are absent). GENECLUB_BATCH and GENECLUB_DEMO_DATA name the
# programs.
set -eu
shape=$1
page=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
public=$(dirname "$0")/../../../shared/data/public
case $shape in
  generated)
    "$GENECLUB_DEMO_DATA" --table --genes 500 --samples 48 --normal-samples 18 "$work/table.csv"
    data=$work/table.csv ;;
  leukemia) data=$public/leukemia-golub.csv ;;
  prostate) data=$public/prostate-singh.csv ;;
  *) echo "batch_report.sh: unknown shape $shape" >&2; exit 2 ;;
esac
if [ ! -f "$data" ]; then
  echo "skipped: $data is absent" >&2
  exit 77
fi
"$GENECLUB_BATCH" --quiet --report --evaluate kfold:5 -o "$work/out" "$data"
cp "$work/out/report.html" "$page"
