#pragma once

#include "print/LogoSetting.h"

#include <QImage>

// The logo of a setting drawn on white at one logo unit per pixel times
// scale, for the previews and the rendered copy saved with a setting.
namespace LogoPreview {

QImage render(const LogoSetting &setting, int scale = 1);

} // namespace LogoPreview
