// ISO 8601 times as a trail's lines carry them and as a user names a moment to look from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Milliseconds since 1970-01-01T00:00:00Z of an ISO 8601 date or time in the extended form:
// "2026", "2026-12", "2026-12-08", then "T" (or a space) and "10", "10:00", "10:00:00" or
// "10:00:00.250", then "Z", "+01:00", "+0100" or "+01". Without an offset a time is the local
// time; a date alone is its local midnight. Empty for anything else, such as "2026-13-45".
std::optional<std::int64_t> ParseIsoTime(const std::string& text);
