#include "app/DateTime.h"

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pelwick {

int StandardTimeZoneBias() {
#ifdef _WIN32
    TIME_ZONE_INFORMATION info{};
    if (GetTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return 0;
    return int(info.Bias);
#else
    tzset();
    // glibc's timezone holds the seconds west of UTC of the zone's standard time.
    return int(timezone / 60);
#endif
}

TDateTime UtcToLocal(TDateTime t) {
    return t - StandardTimeZoneBias() / 1440.0;
}

}  // namespace pelwick
