#pragma once

namespace pelwick {

// A point in time as days since 30 Dec 1899 00:00, the fraction being the time of day.
using TDateTime = double;

// Shifts a UTC date-time to local standard time: the zone's standard bias is applied,
// daylight saving is not.
TDateTime UtcToLocal(TDateTime t);

// The zone's standard bias in minutes (UTC = local time + bias).
int StandardTimeZoneBias();

}  // namespace pelwick
