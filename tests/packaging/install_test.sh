#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks it as a desktop would use it: the programs
# run through their links, the capture files' type is known by name, and norrik is the
# application that opens them.
#   install_test.sh BUILD_DIR CAPTURE_FILE
set -euo pipefail
build="$1"
capture="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
for file in bin/norrik bin/norrik-cli lib/norrik/norrik lib/norrik/norrik-cli \
    lib/norrik/libpodcore.so lib/norrik/norrikhelp.txt share/applications/norrik.desktop \
    share/icons/hicolor/scalable/apps/norrik.svg share/mime/packages/norrik-capture.xml; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

# The command line finds its library beside the program the link points at.
cd "$prefix"
decoded="$("$prefix/bin/norrik-cli" decode serial --signal P0 "$capture")"
[[ "$decoded" == *"'H' = 0x48"* ]] || { echo "the installed norrik-cli does not decode"; exit 1; }

desktop-file-validate "$prefix/share/applications/norrik.desktop"
update-mime-database "$prefix/share/mime" > /dev/null 2>&1
update-desktop-database "$prefix/share/applications"
export PATH="$prefix/bin:$PATH" XDG_DATA_DIRS="$prefix/share" XDG_DATA_HOME="$prefix/none"
export XDG_CONFIG_HOME="$prefix/none" XDG_CONFIG_DIRS="$prefix/none"
cp "$capture" "$prefix/any name.nrk"
type="$(gio info -a standard::content-type "$prefix/any name.nrk" | sed -n 's/.*content-type: //p')"
[ "$type" = application/x-norrik-capture ] || { echo "a .nrk file is of type '$type'"; exit 1; }
# Read whole before it is matched: a match that stops early would break gio's pipe.
opener="$(gio mime application/x-norrik-capture)"
[[ "$opener" == *"Default application"*": norrik.desktop"* ]] ||
    { echo "norrik does not open capture files: $opener"; exit 1; }
echo "installed and registered"
