// JSON text as every program here writes it: objects keep the order their keys were set in,
// non-ASCII text passes as UTF-8, and bytes that are not UTF-8 become U+FFFD instead of
// throwing, since names and reasons may come from a camera or a command line.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

using OrderedJson = nlohmann::ordered_json;

// indent -1: one line; otherwise that many spaces a level.
inline std::string JsonText(const OrderedJson& value, int indent = -1)
{
    return value.dump(indent, ' ', false, OrderedJson::error_handler_t::replace);
}
