#pragma once

#include <QFont>

// The face the slips name, "ＭＳ ゴシック" at 13 pixels, mapped to an
// installed Japanese fixed-pitch face where the named one is missing.
QFont gridFont();
