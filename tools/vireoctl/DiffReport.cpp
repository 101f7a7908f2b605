#include "tools/vireoctl/DiffReport.h"

#include "camera/inventory/CameraReplacement.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/SystemCalls.h"
#include "platform/profile/Profile.h"
#include "tools/vireoctl/Inventory.h"

#include <algorithm>
#include <cerrno>

namespace vireoctl {
namespace {

// Which file a name stands for, whatever the spelling: an existing file by device and inode
// (links followed), a name not there yet by its folder's and its own last component.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::string leaf; // empty for an existing file
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> IdentifyFile(const std::string& path)
{
    FileId id;
    int error = 0;
    if (files::FileKey(path, id.device, id.inode, error))
        return id;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    if (error != ENOENT || !files::FileKey(folder, id.device, id.inode, error))
        return std::nullopt;
    id.leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    return id;
}

// Text made fit for an XML attribute or element: the five markup characters as entities, and
// what XML 1.0 cannot hold at all (control characters, bytes that are not UTF-8) as U+FFFD.
std::string XmlText(const std::string& text)
{
    static const std::string kReplacement = "\xEF\xBF\xBD";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            switch (byte) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '\t':
            case '\n':
                out += static_cast<char>(byte);
                break;
            default:
                out += byte < 0x20 || byte == 0x7F ? kReplacement : std::string(1, text[i]);
            }
            ++i;
            continue;
        }
        // A UTF-8 sequence: its length from the lead byte, each follower 10xxxxxx, and no
        // overlong form or surrogate (the lead byte's range and the second byte's limits).
        const std::size_t length = byte >= 0xC2 && byte <= 0xDF   ? 2
                                   : byte >= 0xE0 && byte <= 0xEF ? 3
                                   : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                                  : 0;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            valid = !(byte == 0xE0 && second < 0xA0) && !(byte == 0xED && second > 0x9F) &&
                    !(byte == 0xF0 && second < 0x90) && !(byte == 0xF4 && second > 0x8F);
        }
        out += valid ? text.substr(i, length) : kReplacement;
        i += valid ? length : 1;
    }
    return out;
}

std::string Attribute(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + XmlText(value) + "\"";
}

} // namespace

std::string DiffReportJson(const DiffRun& run)
{
    OrderedJson cameras = OrderedJson::array();
    for (const JobResult& result : run.results) {
        OrderedJson camera = CameraJson(result, "match");
        // One field says it all for a failure, as the text's "failed: REASON" does.
        if (const auto reason = camera.find("reason"); reason != camera.end()) {
            camera["result"] = "failed: " + reason->get<std::string>();
            camera.erase(reason);
        }
        // A camera that never answered has the same fields, empty.
        for (const char* key : {"model", "serial", "differences", "settings_sha256",
                                "expected_model", "expected_serial"})
            if (!camera.contains(key))
                camera[key] =
                    key == std::string("differences") ? OrderedJson::array() : OrderedJson();
        cameras.push_back(std::move(camera));
    }
    const OrderedJson document = {
        {"program", "vireoctl"}, {"version", VIREO_VERSION},      {"time", run.time},
        {"file", run.file},      {"file_sha256", run.fileSha256}, {"cameras", std::move(cameras)}};
    return JsonText(document, 2) + "\n";
}

void MarkReplacedCameras(const std::vector<Target>& targets, std::vector<JobResult>& results)
{
    const auto text = [](const std::optional<std::string>& value) {
        return value ? OrderedJson(*value) : OrderedJson();
    };
    for (std::size_t i = 0; i < results.size() && i < targets.size(); ++i) {
        const Target& target = targets[i];
        JobResult& result = results[i];
        result.facts["expected_model"] = text(target.model);
        result.facts["expected_serial"] = text(target.serial);
        // Only a camera that told who it is can be told apart.
        const auto model = result.facts.find("model");
        if (model == result.facts.end() || !model->is_string())
            continue;
        const auto serial = result.facts.find("serial");
        const auto replacement = inventory::FindReplacement(
            target.model, target.serial, model->get<std::string>(),
            serial != result.facts.end() && serial->is_string() ? serial->get<std::string>()
                                                                : std::string());
        if (!replacement)
            continue;
        result.replaced = true;
        result.errors.push_back({target.name + ": " + replacement->text, replacement->text});
        result.status = kExitFailed;
    }
}

std::optional<int> CheckReportTargets(const Options& options, const std::string& compared,
                                      const std::optional<std::string>& reportPath,
                                      const std::optional<std::string>& junitPath, bool force)
{
    std::vector<std::pair<std::string, std::string>> inputs{
        {compared, "the settings file it compares"}};
    const bool named = std::any_of(options.targets.begin(), options.targets.end(),
                                   [](const Target& target) { return !target.name.empty(); });
    if (named)
        inputs.emplace_back(options.inventoryPath.value_or(DefaultInventoryPath()),
                            "the inventory");
    inputs.emplace_back(profile::StoreFileName(), "the stored port settings");
    std::optional<FileId> reportId;
    for (const auto& [option, target] :
         {std::pair{"--report", reportPath}, std::pair{"--junit", junitPath}}) {
        if (!target)
            continue;
        const auto id = IdentifyFile(*target);
        if (!id)
            continue;
        for (const auto& [input, what] : inputs)
            if (IdentifyFile(input) == id)
                return UsageError("diff: " + std::string(option) + " " + *target + " is " + what +
                                  (input == *target ? "" : " (" + input + ")"));
        if (reportId && reportId == id)
            return UsageError("diff: --report and --junit name the same file");
        reportId = id;
    }
    for (const auto& target : {reportPath, junitPath})
        if (target && !force && IsReadOnlyFile(*target)) {
            ErrorLine("error: " + *target +
                      " is read-only: not replaced (--force replaces it); nothing was compared");
            return kExitFailed;
        }
    return std::nullopt;
}

std::string DiffJUnitXml(const DiffRun& run)
{
    std::size_t failures = 0;
    std::size_t errors = 0;
    std::string cases;
    for (const JobResult& result : run.results) {
        const std::string name = result.label.empty() ? result.port : result.label;
        cases +=
            "    <testcase" + Attribute("name", name) + Attribute("classname", "vireoctl.diff");
        if (result.status == kExitOk) {
            cases += "/>\n";
            continue;
        }
        cases += ">\n";
        if (result.status == kExitDiffers || result.replaced) {
            ++failures;
            std::string text = result.replaced ? result.Reason() + "\n" : std::string();
            for (const OrderedJson& difference : result.facts.at("differences"))
                text += difference.at("setting").get<std::string>() + ": expected " +
                        difference.at("expected").dump() + ", camera " +
                        difference.at("actual").dump() + "\n";
            const std::size_t count = result.facts.at("differences").size();
            const std::string message =
                result.replaced ? result.Reason()
                                : std::to_string(count) +
                                      (count == 1 ? " setting differs" : " settings differ");
            cases += "      <failure" + Attribute("message", message) +
                     Attribute("type", result.replaced ? "replaced" : "differs") + ">" +
                     XmlText(text) + "</failure>\n";
        } else {
            ++errors;
            cases += "      <error" + Attribute("message", result.Reason()) +
                     Attribute("type", "failed") + ">" + XmlText(result.Reason()) + "</error>\n";
        }
        cases += "    </testcase>\n";
    }
    // JUnit's time stamps carry no zone; they are UTC here.
    const std::string timestamp = run.time.empty() || run.time.back() != 'Z'
                                      ? run.time
                                      : run.time.substr(0, run.time.size() - 1);
    const std::string counts = Attribute("tests", std::to_string(run.results.size())) +
                               Attribute("failures", std::to_string(failures)) +
                               Attribute("errors", std::to_string(errors));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites" +
           Attribute("name", "vireoctl diff") + counts + ">\n  <testsuite" +
           Attribute("name", "diff " + run.file) + counts + Attribute("timestamp", timestamp) +
           ">\n    <properties>\n      <property" + Attribute("name", "file") +
           Attribute("value", run.file) + "/>\n      <property" + Attribute("name", "file_sha256") +
           Attribute("value", run.fileSha256) + "/>\n      <property" +
           Attribute("name", "version") + Attribute("value", VIREO_VERSION) +
           "/>\n    </properties>\n" + cases + "  </testsuite>\n</testsuites>\n";
}

} // namespace vireoctl
