#include "profile/core/ShortDateFormat.h"

#include <QString>
#include <windows.h>

namespace Tunewell {

TShortDateFormat UserShortDateFormat() {
    wchar_t picture[LOCALE_NAME_MAX_LENGTH * 2] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, picture, LOCALE_NAME_MAX_LENGTH * 2) ==
        0) {
        return {};
    }
    return ShortDateFormatFromPicture(QString::fromWCharArray(picture));
}

} // namespace Tunewell
