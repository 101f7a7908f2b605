// The reply time-out's allowed values, shared by the setup dialog, the stored settings and the
// command line: a whole number of milliseconds from 1 to 60000.
#pragma once

#include <string>

inline constexpr int kReplyTimeOutMin = 1;
inline constexpr int kReplyTimeOutMax = 60000;
inline constexpr int kReplyTimeOutDefault = 3000;

// Reads a time-out text: decimal digits, blanks around them allowed, nothing else. False for
// anything outside kReplyTimeOutMin..kReplyTimeOutMax or not a number; value is then unchanged.
bool ParseReplyTimeOut(const std::string& text, int& value);

// What to tell the user about a refused time-out ("... from 1 to 60000 ...").
std::string ReplyTimeOutRangeText();
