// Company-name settings: read from bytes and drawn as the company block.
#include "FuzzSupport.h"
#include "platform/TextList.h"
#include "print/LogoSetting.h"
#include "print/TMakeLogo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::ensureGuiApplication();
    const LogoSetting setting(TextList::fromBytes(FuzzSupport::bytes(data, size)));
    (void)setting.companyFace();
    (void)setting.registrationNumber();
    (void)LogoSetting::isSettingLineCount(setting.lines().size());
    // The picture's box stays on the canvas's scale whatever the numbers.
    (void)(qint64(setting.pictureLeft()) + setting.pictureWidth());
    TMakeLogo logo;
    logo.setPictureOption(false);
    logo.render(setting);
    return 0;
}
