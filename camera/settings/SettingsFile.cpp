#include "camera/settings/SettingsFile.h"

#include "camera/audit/JsonText.h"
#include "camera/settings/SettingCatalog.h"

#include "platform/files/SystemCalls.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <map>
#include <set>

namespace {

using Json = nlohmann::ordered_json;

// Deeper than any settings file nests (the file itself needs 2).
constexpr int kDepthMax = 8;

// The deepest nesting of arrays and objects, found before parsing so that a hostile file cannot
// make the parser recurse without bound.
int NestingDepth(const std::string& text)
{
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

const char* TypeName(const Json& value)
{
    if (value.is_number_integer())
        return "an integer";
    if (value.is_number())
        return "a fractional number";
    return value.type_name();
}

// A text from the file, short and printable, for a message.
std::string Shown(const std::string& text)
{
    constexpr std::size_t kShown = 40;
    std::string shown;
    for (char c : text.substr(0, kShown))
        shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return text.size() > kShown ? shown + "..." : shown;
}

std::string Quote(const std::string& text)
{
    return "\"" + Shown(text) + "\"";
}

bool Fail(FileProblem& problem, std::string name, std::string reason)
{
    problem = {std::move(name), std::move(reason)};
    return false;
}

bool WrongType(FileProblem& problem, const std::string& name, const char* expected,
               const Json& value)
{
    return Fail(problem, name,
                std::string("wrong type: ") + expected + " expected, not " + TypeName(value));
}

bool ReadText(const Json& object, const char* key, std::string& out, FileProblem& problem,
              const std::string& name)
{
    const auto it = object.find(key);
    if (it == object.end())
        return true;
    if (!it->is_string())
        return WrongType(problem, name, "a text", *it);
    out = it->get<std::string>();
    return true;
}

bool ReadIdentity(const Json& camera, SavedIdentity& identity, FileProblem& problem)
{
    if (!camera.is_object())
        return WrongType(problem, "camera", "an object", camera);
    static const std::set<std::string> kKeys{"vendor", "model", "serial", "cpu", "fpga"};
    for (const auto& [key, value] : camera.items())
        if (!kKeys.count(key))
            return Fail(problem, "camera." + Shown(key), "unknown name");
    return ReadText(camera, "vendor", identity.vendor, problem, "camera.vendor") &&
           ReadText(camera, "model", identity.model, problem, "camera.model") &&
           ReadText(camera, "serial", identity.serial, problem, "camera.serial") &&
           ReadText(camera, "cpu", identity.cpu, problem, "camera.cpu") &&
           ReadText(camera, "fpga", identity.fpga, problem, "camera.fpga");
}

bool ReadValues(const Json& settings, CameraModel model,
                std::vector<std::pair<std::string, int>>& values, FileProblem& problem)
{
    if (!settings.is_object())
        return WrongType(problem, "settings", "an object", settings);
    std::map<std::string, int> found;
    for (const auto& [name, value] : settings.items()) {
        const SettingDef* def = FindSetting(model, name);
        if (!def)
            return Fail(problem, Shown(name),
                        std::string("unknown name for the ") + CameraModelName(model));
        if (!value.is_number_integer())
            return WrongType(problem, name, "an integer", value);
        // Integers beyond 64 bits come out of the parser as floating point, caught above.
        const long long number = value.is_number_unsigned()
                                     ? static_cast<long long>(std::min<std::uint64_t>(
                                           value.get<std::uint64_t>(), 1ull << 62))
                                     : value.get<long long>();
        if (const std::string reason = def->CheckValue(number); !reason.empty())
            return Fail(problem, name, std::to_string(number) + " is " + reason);
        found[name] = static_cast<int>(number);
    }
    values.clear();
    for (const SettingDef& def : SettingsOf(model))
        if (const auto it = found.find(def.name); it != found.end())
            values.emplace_back(def.name, it->second);
    return true;
}

} // namespace

std::string SettingsToJson(const SettingsFile& file)
{
    Json camera = Json::object();
    camera["vendor"] = file.camera.vendor;
    camera["model"] = file.camera.model;
    camera["serial"] = file.camera.serial;
    camera["cpu"] = file.camera.cpu;
    if (!file.camera.fpga.empty())
        camera["fpga"] = file.camera.fpga;
    Json values = Json::object();
    for (const auto& [name, value] : file.values)
        values[name] = value;
    Json root = Json::object();
    root["format"] = kSettingsFormat;
    root["version"] = kSettingsVersion;
    root["model"] = CameraModelName(file.model);
    root["camera"] = std::move(camera);
    root["saved"] = file.saved;
    root["settings"] = std::move(values);
    // Texts from a camera are not always UTF-8: stray bytes become U+FFFD, not an exception.
    return JsonText(root, 2) + "\n";
}

bool SettingsFromJson(const std::string& text, SettingsFile& file, FileProblem& problem)
{
    if (NestingDepth(text) > kDepthMax)
        return Fail(problem, "", "not a settings file (nested too deeply)");

    // The parser keeps the last of two equal names; a file that gives one value twice is
    // ambiguous, so the names are checked on the way.
    std::vector<std::set<std::string>> names;
    std::string duplicate;
    const Json::parser_callback_t noteNames = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
            names.emplace_back();
            break;
        case Json::parse_event_t::object_end:
            if (!names.empty())
                names.pop_back();
            break;
        case Json::parse_event_t::key:
            if (!names.empty() && !names.back().insert(parsed.get<std::string>()).second &&
                duplicate.empty())
                duplicate = parsed.get<std::string>();
            break;
        default:
            break;
        }
        return true;
    };
    Json root;
    try {
        root = Json::parse(text, noteNames);
    } catch (const Json::exception& e) {
        std::string what = e.what();
        // "[json.exception.parse_error.101] parse error at line 1, ..." without its tag.
        if (const auto tag = what.find("] "); tag != std::string::npos)
            what.erase(0, tag + 2);
        return Fail(problem, "", "not JSON: " + what);
    }
    if (!duplicate.empty())
        return Fail(problem, Shown(duplicate), "given more than once");
    if (!root.is_object())
        return Fail(problem, "", "not a settings file (no JSON object)");

    static const std::set<std::string> kKeys{"format", "version", "model",
                                             "camera", "saved",   "settings"};
    for (const auto& [key, value] : root.items())
        if (!kKeys.count(key))
            return Fail(problem, Shown(key), "unknown name");

    const auto format = root.find("format");
    if (format == root.end())
        return Fail(problem, "format", "missing: not a settings file");
    if (!format->is_string())
        return WrongType(problem, "format", "a text", *format);
    if (format->get<std::string>() != kSettingsFormat)
        return Fail(problem, "format", "unknown format " + Quote(format->get<std::string>()));

    const auto version = root.find("version");
    if (version == root.end())
        return Fail(problem, "version", "missing");
    if (!version->is_number_integer())
        return WrongType(problem, "version", "an integer", *version);
    if (*version != kSettingsVersion)
        return Fail(problem, "version", "unknown version " + version->dump());

    const auto modelName = root.find("model");
    if (modelName == root.end())
        return Fail(problem, "model", "missing");
    if (!modelName->is_string())
        return WrongType(problem, "model", "a text", *modelName);
    std::optional<CameraModel> model;
    for (CameraModel candidate : kCameraModels)
        if (modelName->get<std::string>() == CameraModelName(candidate))
            model = candidate;
    if (!model)
        return Fail(problem, "model", "unknown model " + Quote(modelName->get<std::string>()));

    SettingsFile read;
    read.model = *model;
    if (const auto camera = root.find("camera"); camera != root.end())
        if (!ReadIdentity(*camera, read.camera, problem))
            return false;
    if (!ReadText(root, "saved", read.saved, problem, "saved"))
        return false;
    const auto settings = root.find("settings");
    if (settings == root.end())
        return Fail(problem, "settings", "missing");
    if (!ReadValues(*settings, read.model, read.values, problem))
        return false;
    file = std::move(read);
    return true;
}

std::string SettingsTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    files::UtcFields(now, utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string SettingsFileBaseName(CameraModel model, const std::string& serial)
{
    std::string part;
    for (const char c : serial)
        part += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.'
                    ? c
                    : '_';
    while (!part.empty() && part.front() == '.')
        part.erase(0, 1);
    return std::string(CameraModelName(model)) + "-" + (part.empty() ? "unknown" : part);
}
