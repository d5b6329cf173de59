#!/bin/sh
# Rebuilds the generated part of the seed corpora from the example and golden
# surveys (files named seed-*); the hand-written seeds (edge-*) stay as they
# are. Run from anywhere; commit the result.
#
#   tests/fuzz/make_seeds.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
corpus=$here/corpus
mkdir -p "$corpus/records" "$corpus/header" "$corpus/run"
rm -f "$corpus"/records/seed-* "$corpus"/header/seed-* "$corpus"/run/seed-*

# One survey: a folder with a header file and NAME.SPE .ETP .STA .DAT.
seed_survey() {
  dir=$1 label=$2
  hdr=$(ls "$dir"/*.hdr | head -n 1)
  spe=$(ls "$dir"/*.SPE | head -n 1)
  name=$(basename "$spe" .SPE)
  cp "$hdr" "$corpus/header/seed-$label.hdr"
  # Record reader: the item list of each file's records, then the file.
  { echo "it50"; cat "$dir/$name.SPE"; } > "$corpus/records/seed-$label-spe"
  { echo "it50"; cat "$dir/$name.ETP"; } > "$corpus/records/seed-$label-etp"
  { echo "iit3r"; cat "$dir/$name.STA"; } > "$corpus/records/seed-$label-sta"
  { echo "iiirr"; cat "$dir/$name.DAT"; } > "$corpus/records/seed-$label-dat"
  # Whole run: the header and the four files, each after a "~~~~" line.
  {
    cat "$hdr"; echo
    for ext in SPE ETP STA DAT; do
      echo "~~~~ $ext"
      cat "$dir/$name.$ext"; echo
    done
  } > "$corpus/run/seed-$label"
}

for dir in "$root"/examples/*/; do
  [ -f "$(ls "$dir"/*.hdr 2>/dev/null | head -n 1)" ] || continue
  seed_survey "$dir" "example-$(basename "$dir")"
done
for dir in "$root"/tests/golden/*/input/; do
  seed_survey "$dir" "golden-$(basename "$(dirname "$dir")")"
done
echo "seeds: $(ls "$corpus/records" | wc -l) records, $(ls "$corpus/header" | wc -l) header," \
  "$(ls "$corpus/run" | wc -l) run"
