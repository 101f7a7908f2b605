#include "camera/audit/IsoTime.h"

#include "platform/files/SystemCalls.h"

#include <cctype>
#include <ctime>

namespace {

// Reads exactly count digits at pos into value.
bool Digits(const std::string& text, std::size_t& pos, int count, int& value)
{
    if (pos + count > text.size())
        return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned char c = text[pos + i];
        if (!std::isdigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    pos += count;
    return true;
}

bool Take(const std::string& text, std::size_t& pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

int DaysIn(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

std::optional<std::int64_t> ParseIsoTime(const std::string& text)
{
    std::size_t pos = 0;
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0, millis = 0;
    if (!Digits(text, pos, 4, year))
        return std::nullopt;
    if (Take(text, pos, '-') && (!Digits(text, pos, 2, month) || month < 1 || month > 12))
        return std::nullopt;
    if (pos < text.size() && text[pos] == '-' && pos == 7) {
        ++pos;
        if (!Digits(text, pos, 2, day) || day < 1 || day > DaysIn(year, month))
            return std::nullopt;
    }
    std::optional<int> offsetMinutes;
    if (pos < text.size() && pos == 10 && (text[pos] == 'T' || text[pos] == ' ')) {
        ++pos;
        if (!Digits(text, pos, 2, hour) || hour > 23)
            return std::nullopt;
        if (Take(text, pos, ':')) {
            if (!Digits(text, pos, 2, minute) || minute > 59)
                return std::nullopt;
            if (Take(text, pos, ':')) {
                // 60 is a leap second.
                if (!Digits(text, pos, 2, second) || second > 60)
                    return std::nullopt;
                if (Take(text, pos, '.') || Take(text, pos, ',')) {
                    const std::size_t start = pos;
                    int scale = 100;
                    while (pos < text.size() &&
                           std::isdigit(static_cast<unsigned char>(text[pos]))) {
                        millis += (text[pos] - '0') * scale;
                        scale /= 10;
                        ++pos;
                    }
                    if (pos == start)
                        return std::nullopt;
                }
            }
        }
        if (Take(text, pos, 'Z')) {
            offsetMinutes = 0;
        } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            const int sign = text[pos++] == '-' ? -1 : 1;
            int hours = 0, minutes = 0;
            if (!Digits(text, pos, 2, hours) || hours > 23)
                return std::nullopt;
            const bool colon = Take(text, pos, ':');
            if ((colon || pos < text.size()) && (!Digits(text, pos, 2, minutes) || minutes > 59))
                return std::nullopt;
            offsetMinutes = sign * (hours * 60 + minutes);
        }
    }
    if (pos != text.size())
        return std::nullopt;
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    std::int64_t seconds = 0;
    if (offsetMinutes) {
        seconds = static_cast<std::int64_t>(files::FromUtcFields(fields)) - *offsetMinutes * 60;
    } else {
        fields.tm_isdst = -1;
        seconds = static_cast<std::int64_t>(std::mktime(&fields));
    }
    return seconds * 1000 + millis;
}
