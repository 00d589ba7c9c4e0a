# Sourced by wine-prefix.sh and x-display.sh: the fonts of both Wine prefixes, so that the
# headless tests measure captions with the face the pictures show. Wine does not pick up its
# own fonts from /usr/share/wine/fonts here: without Marlett the caption buttons show letters,
# and without Tahoma the dialog font falls back to another face. Wine's Tahoma Bold is left
# out: its outlines draw as thin as the regular face, while without it Wine emboldens Tahoma
# itself and bold text looks bold. Run on every use, so prefixes made before catch up.
# shellcheck shell=bash
kw_wine_fonts() {
  local fonts="$1/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in marlett.ttf tahoma.ttf; do
    if [ -f "/usr/share/wine/fonts/$font" ] && ! cmp -s "/usr/share/wine/fonts/$font" "$fonts/$font"; then
      cp "/usr/share/wine/fonts/$font" "$fonts/"
    fi
  done
  if cmp -s /usr/share/wine/fonts/tahomabd.ttf "$fonts/tahomabd.ttf"; then
    rm -f "$fonts/tahomabd.ttf"
  fi
}
