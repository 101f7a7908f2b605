#include "camera/inventory/CameraInventory.h"

#include "camera/inventory/TomlDepth.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/SystemCalls.h"
#include "camera/settings/CameraModel.h"
#include "comm/Com.h"
#include "platform/serial/PortName.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

namespace inventory {
namespace {

// An inventory names the cameras of a line or two; anything near this size is not one.
constexpr std::size_t kInventoryMax = 1024 * 1024;
constexpr const char* kClPrefix = "cl:";
// cameras.NAME.port is three levels; the margin keeps room for what a person may write.
constexpr std::size_t kNestingMax = 32;

std::string Where(const std::string& path, const toml::source_region& region)
{
    return path + ":" + std::to_string(region.begin.line) + ": ";
}

bool ParseIndex(const std::string& text, int& index)
{
    if (text.empty() || text.size() > 7 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    index = std::stoi(text);
    return true;
}

bool HasControl(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A model is compared with the name the camera answers, so only a model's exact name can match.
bool KnownModel(const std::string& model)
{
    return std::any_of(std::begin(kCameraModels), std::end(kCameraModels),
                       [&model](CameraModel known) { return model == CameraModelName(known); });
}

std::string KnownModels()
{
    std::string names;
    for (const CameraModel model : kCameraModels)
        names += (names.empty() ? "" : ", ") + std::string(CameraModelName(model));
    return names;
}

// Checks the port text ("cl:N" or a port name) and takes it; empty, or what is wrong.
std::string TakePort(const std::string& port, InventoryCamera& camera)
{
    camera.port = port;
    if (port.rfind(kClPrefix, 0) == 0) {
        int index = 0;
        if (!ParseIndex(port.substr(3), index))
            return port + ": not a Camera Link port index (cl:0, cl:1, ...)";
        camera.clIndex = index;
        return {};
    }
    if (port.size() > kPortNameMax)
        return "port longer than " + std::to_string(kPortNameMax) + " characters";
    serial::PortAddress address;
    std::string why;
    if (!serial::ParsePortName(port, address, why))
        return port + ": " + why;
    return {};
}

// Reads one entry's table; empty with the fault and the line it is on.
std::string ReadEntry(const std::string& name, const toml::table& table, InventoryCamera& entry,
                      toml::source_region& at)
{
    entry.name = name;
    std::optional<std::string> port;
    for (auto&& [key, node] : table) {
        at = key.source();
        const std::string field(key.str());
        std::optional<std::string>* slot = field == "port"     ? &port
                                           : field == "model"  ? &entry.model
                                           : field == "serial" ? &entry.serial
                                                               : nullptr;
        if (!slot)
            return "unknown key \"" + field + "\" (port, model, serial)";
        const auto* text = node.as_string();
        if (!text)
            return field + " is not a text";
        if (text->get().empty())
            return "empty " + field;
        if (HasControl(text->get()))
            return field + " has a control character";
        if (slot == &entry.model && !KnownModel(text->get()))
            return "model \"" + text->get() + "\" is none of " + KnownModels();
        *slot = text->get();
    }
    at = table.source();
    if (!port)
        return "no port";
    if (const auto* node = table.get("port"))
        at = node->source();
    return TakePort(*port, entry);
}

// A refusal is one line: control characters the parser quotes from the text (a line end it
// saw, a key's escaped newline) are written as escapes.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            line += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            line += escaped;
        } else {
            line += c;
        }
    }
    return line;
}

bool ParseInventoryText(const std::string& path, const std::string& text,
                        CameraInventory& inventory, std::string& problem);

} // namespace

std::string InventoryCamera::PortLabel() const
{
    return clIndex ? kClPrefix + std::to_string(*clIndex) : port;
}

const InventoryCamera* CameraInventory::Find(const std::string& name) const
{
    for (const InventoryCamera& entry : cameras)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::string DefaultInventoryPath()
{
    return files::UserConfigFile("cameras.toml");
}

bool ReadCameraInventory(const std::string& path, CameraInventory& inventory, std::string& problem)
{
    inventory = CameraInventory{path, {}};
    std::string text;
    std::string error;
    if (!ReadSmallFile(path, kInventoryMax, text, error)) {
        problem = error;
        return false;
    }
    return ParseCameraInventory(path, text, inventory, problem);
}

bool ParseCameraInventory(const std::string& path, const std::string& text,
                          CameraInventory& inventory, std::string& problem)
{
    if (ParseInventoryText(path, text, inventory, problem))
        return true;
    problem = OneLine(problem);
    return false;
}

namespace {

bool ParseInventoryText(const std::string& path, const std::string& text,
                        CameraInventory& inventory, std::string& problem)
{
    inventory = CameraInventory{path, {}};
    if (const std::size_t line = LineNestedTooDeeply(text, kNestingMax)) {
        problem = path + ":" + std::to_string(line) + ": nested too deeply";
        return false;
    }
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& failure) {
        // A name given to two entries is the parser's redefined table; said in the file's terms.
        const std::string description(failure.description());
        const std::string redefined = "cannot redefine existing table 'cameras.";
        const std::size_t at = description.find(redefined);
        if (at != std::string::npos && description.back() == '\'')
            problem = Where(path, failure.source()) +
                      description.substr(at + redefined.size(),
                                         description.size() - at - redefined.size() - 1) +
                      ": a second camera of that name";
        else
            problem = Where(path, failure.source()) + description;
        return false;
    }
    const toml::table* cameras = nullptr;
    for (auto&& [key, node] : root) {
        if (key.str() != "cameras") {
            problem = Where(path, key.source()) + "unknown key \"" + std::string(key.str()) +
                      "\" (cameras)";
            return false;
        }
        cameras = node.as_table();
        if (!cameras) {
            problem = Where(path, key.source()) + "cameras is not a table";
            return false;
        }
    }
    if (!cameras)
        return true;
    std::vector<std::pair<toml::source_region, InventoryCamera>> found;
    for (auto&& [key, node] : *cameras) {
        const std::string name(key.str());
        toml::source_region at = key.source();
        InventoryCamera entry;
        std::string fault;
        if (name.empty() || HasControl(name))
            fault = "a camera's name is empty or has a control character";
        else if (const toml::table* table = node.as_table())
            fault = ReadEntry(name, *table, entry, at);
        else
            fault = "not a table of port, model and serial";
        if (!fault.empty()) {
            problem = Where(path, at) + (name.empty() ? "" : name + ": ") + fault;
            return false;
        }
        found.emplace_back(key.source(), std::move(entry));
    }
    // The table holds them by name; the file's order is the order a person wrote them in.
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first.begin.line < b.first.begin.line;
    });
    // One camera twice would only find its own port in use. Each port's first camera by name.
    std::map<std::string, std::string> ports;
    for (auto& [at, entry] : found) {
        const auto [first, added] = ports.emplace(entry.PortLabel(), entry.name);
        if (!added) {
            problem = Where(path, at) + entry.name + ": port " + entry.PortLabel() + " is also " +
                      first->second + "'s";
            return false;
        }
        inventory.cameras.push_back(std::move(entry));
    }
    return true;
}

} // namespace

} // namespace inventory
