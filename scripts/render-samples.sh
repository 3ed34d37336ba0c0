#!/usr/bin/env bash
# Draws every symbology with the varnel tool into samples/, each as BMP, WMF, EMF, SVG and PNG, and
# writes samples/index.html to look at them all. With --gallery it also refreshes the PNG copies in
# docs/gallery/ that the README shows. Each picture is fitted to its symbol, quiet zones and text.
#
# VARNEL_TOOL names a varnel already built, which is then used as it is (the suites run the script
# so), and VARNEL_SAMPLES_DIR another folder for the samples.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

update_gallery=0
case "${1:-}" in
  "") ;;
  --gallery) update_gallery=1 ;;
  *) echo "usage: bash scripts/render-samples.sh [--gallery]" >&2; exit 1 ;;
esac

varnel=${VARNEL_TOOL:-}
if [[ -z $varnel ]]; then
  bash scripts/setup.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
  cmake --build build -j2 --target varnel
  varnel=build/tools/varnel
fi
folder=${VARNEL_SAMPLES_DIR:-samples}

# One line a symbology, from the library's catalogue: number, name, title, sample data, options.
listing=$("$varnel" --list-samples)
mapfile -t samples <<<"$listing"
formats=(png svg bmp wmf emf)

html_escape() {
  local text=${1//&/&amp;}
  text=${text//</&lt;}
  text=${text//>/&gt;}
  printf '%s' "${text//\"/&quot;}"
}

mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
figures=""
for sample in "${samples[@]}"; do
  IFS=$'\t' read -r number name title data options <<<"$sample"
  read -r -a extra <<<"$options"
  links=""
  for format in "${formats[@]}"; do
    "$varnel" --symbology "$name" --narrow 0.08 --ratio 2.5 "${extra[@]}" \
      --output "$folder/$name.$format" -- "$data"
    links+="<a href=\"$name.$format\">${format^^}</a> "
  done
  caption="$number $name: $title"
  figures+="<figure><img src=\"$name.png\" alt=\"$(html_escape "$caption")\">
<figcaption><b>$(html_escape "$caption")</b><br><code>varnel -s $name $(html_escape "$options") $(html_escape "$data")</code><br>${links% }</figcaption></figure>
"
done

cat >"$folder/index.html" <<HTML
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Varnel32 samples</title>
<style>
  body { font-family: sans-serif; margin: 2em; background: #f4f4f4; }
  main { display: grid; grid-template-columns: repeat(auto-fill, minmax(480px, 1fr)); gap: 1.5em; }
  figure { margin: 0; padding: 10px; background: #fff; border: 1px solid #ccc; }
  img { display: block; max-width: 100%; height: auto; image-rendering: pixelated; }
  figcaption { margin-top: 0.5em; line-height: 1.5; }
</style>
</head>
<body>
<h1>Varnel32: every symbology</h1>
<p>Drawn by <code>varnel</code> with narrow bars of 0.08 cm at 96 pixels per inch, each picture fitted to its
symbol, quiet zones and text. Each picture is here as PNG, SVG, BMP, WMF and EMF.</p>
<main>
$figures</main>
</body>
</html>
HTML

if ((update_gallery)); then
  mkdir -p docs/gallery
  for sample in "${samples[@]}"; do
    IFS=$'\t' read -r _ name _ <<<"$sample"
    cp "$folder/$name.png" docs/gallery/
  done
  echo "The gallery's PNG copies in $PWD/docs/gallery are up to date."
fi

echo "${#samples[@]} symbologies, each as ${formats[*]}, are in $folder"
echo "Open $folder/index.html to see them all."
