#include "profile/core/ShortDateFormat.h"

#include <QString>
#include <langinfo.h>
#include <locale.h>
#include <memory>

namespace Tunewell {

TShortDateFormat UserShortDateFormat() {
    // A locale object of our own leaves the process locale alone.
    std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> locale(
        newlocale(LC_TIME_MASK, "", nullptr), &freelocale);
    if (!locale) {
        locale.reset(newlocale(LC_TIME_MASK, "C", nullptr));
    }
    if (!locale) {
        return {};
    }
    return ShortDateFormatFromPicture(QString::fromLocal8Bit(nl_langinfo_l(D_FMT, locale.get())));
}

} // namespace Tunewell
