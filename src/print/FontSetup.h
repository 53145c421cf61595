#pragma once

// Font faces that print formats and company-name settings name ("ＭＳ ゴシック",
// "ＭＳ 明朝" and their proportional forms) are mapped to the installed
// Japanese faces, so that a format made for the original faces prints with
// matching glyphs. Safe to call more than once.
namespace FontSetup {
void installSubstitutions();

// The program's screen face: a Japanese proportional Gothic at the desktop's
// size. With a Latin default face every Japanese caption goes through font
// fallback, which costs a second face per size and a fontconfig search at
// start, and mixes two designs in one line. Call after the GUI application
// exists.
void installUiFont();
} // namespace FontSetup
