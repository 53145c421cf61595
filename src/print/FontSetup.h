#pragma once

// Font faces that print formats and company-name settings name ("ＭＳ ゴシック",
// "ＭＳ 明朝" and their proportional forms) are mapped to the installed
// Japanese faces, so that a format made for the original faces prints with
// matching glyphs. Safe to call more than once.
namespace FontSetup {
void installSubstitutions();
}
