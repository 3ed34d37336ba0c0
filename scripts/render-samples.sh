#!/usr/bin/env bash
# Draws every symbology with the varnel tool into samples/, each as BMP, WMF, EMF, SVG and PNG, and
# writes samples/index.html to look at them all. With --gallery it also refreshes the PNG copies in
# docs/gallery/ that the README shows.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

update_gallery=0
case "${1:-}" in
  "") ;;
  --gallery) update_gallery=1 ;;
  *) echo "usage: bash scripts/render-samples.sh [--gallery]" >&2; exit 1 ;;
esac

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2 --target varnel
varnel=build/tools/varnel

# name | symbology | data | caption | further options
samples=(
  "codabar|codabar|31117013206375|Codabar, start A and stop B|--start A --stop B"
  "code11|code11|123-45|Code 11 with its check character|--check --check-in-text"
  "code128|code128|Varnel-128|Code 128, code sets chosen automatically|"
  "code39|code39|VARNEL-32|Code 39 with its modulo 43 check character|--check --check-in-text"
  "code39-ascii|code39-ascii|Ascii+39|Code 39 full ASCII, lower case included|--size 760x200"
  "code93|code93|VARNEL 93|Code 93 with its two check characters|--check"
  "ean128|ean128|0195012345678903|UCC/EAN-128, all-numeric|"
  "ean13|ean13|590123412345|EAN-13 with a 5-digit add-on|--addon 52495"
  "ean8|ean8|9638507|EAN-8|"
  "itf|itf|1234567890|Interleaved 2 of 5, wide bars 2.5 times the narrow|--ratio 2.5"
  "isbn|isbn|0306406152|ISBN 0-306-40615-2 as an EAN-13 with its caption|"
  "jan13|jan13|490123456789|JAN-13|"
  "jan8|jan8|4912345|JAN-8|"
  "matrix2of5|matrix2of5|1234567890|Matrix 2 of 5|"
  "msi|msi|80523|MSI with its modulo 10 check digit|--check --check-in-text"
  "planet|planet|40123456789|PLANET with its check digit|--check"
  "postnet|postnet|555551237|POSTNET, a ZIP+4 code with its check digit|--check"
  "sscc18|sscc18|376104250021234569|SSCC-18|--check"
  "ean128-ai01|ean128-ai01|09501101530003|UCC/EAN-128 with application identifier 01|--check"
  "upc-a|upc-a|03600029145|UPC-A with a 2-digit add-on|--addon 53"
  "upc-e|upc-e|04210000526|UPC-E, number system 0|--upce-system 0"
)
formats=(png svg bmp wmf emf)

html_escape() {
  local text=${1//&/&amp;}
  text=${text//</&lt;}
  text=${text//>/&gt;}
  printf '%s' "${text//\"/&quot;}"
}

mkdir -p samples
figures=""
for sample in "${samples[@]}"; do
  IFS='|' read -r name symbology data caption options <<<"$sample"
  read -r -a extra <<<"$options"
  links=""
  for format in "${formats[@]}"; do
    "$varnel" --symbology "$symbology" --size 600x200 --narrow 0.08 --ratio 2.5 "${extra[@]}" \
      --output "samples/$name.$format" -- "$data"
    links+="<a href=\"$name.$format\">${format^^}</a> "
  done
  figures+="<figure><img src=\"$name.png\" alt=\"$(html_escape "$caption")\">
<figcaption><b>$(html_escape "$caption")</b><br><code>varnel -s $symbology $(html_escape "$options") $(html_escape "$data")</code><br>${links% }</figcaption></figure>
"
done

cat >samples/index.html <<HTML
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Varnel32 samples</title>
<style>
  body { font-family: sans-serif; margin: 2em; background: #f4f4f4; }
  main { display: grid; grid-template-columns: repeat(auto-fill, minmax(620px, 1fr)); gap: 1.5em; }
  figure { margin: 0; padding: 10px; background: #fff; border: 1px solid #ccc; }
  img { display: block; max-width: 100%; height: auto; image-rendering: pixelated; }
  figcaption { margin-top: 0.5em; line-height: 1.5; }
</style>
</head>
<body>
<h1>Varnel32: every symbology</h1>
<p>Drawn by <code>varnel</code> at 600 &times; 200 pixels, narrow bars 0.08 cm, at 96 pixels per inch.
Each picture is here as PNG, SVG, BMP, WMF and EMF.</p>
<main>
$figures</main>
</body>
</html>
HTML

if ((update_gallery)); then
  mkdir -p docs/gallery
  for sample in "${samples[@]}"; do
    cp "samples/${sample%%|*}.png" docs/gallery/
  done
  echo "The gallery's PNG copies in $PWD/docs/gallery are up to date."
fi

echo "${#samples[@]} symbologies, each as ${formats[*]}, are in $PWD/samples"
echo "Open $PWD/samples/index.html to see them all."
