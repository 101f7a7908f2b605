#include "res/dialogs/CommonPages.h"

#include <string>

namespace res {

using namespace ui;

namespace {
constexpr std::uint32_t kReadout = es::ReadOnly | es::UpperCase | cs::Right | es::AutoHScroll;
constexpr std::uint32_t kTextBox = es::ReadOnly | es::AutoHScroll;
constexpr std::uint32_t kNumberBox = es::ReadOnly | cs::Right | es::AutoHScroll;
} // namespace

DialogTemplate IdentityPage(int templateId, const char* group, const IdentityPageIds& ids)
{
    struct Row {
        const char* label;
        int id;
        bool text;
    };
    std::vector<Row> rows = {{"Vender Name", ids.vendor, true},
                             {"Model Name", ids.model, true},
                             {"Serial Number", ids.serial, false},
                             {"CPU Version", ids.cpu, false}};
    if (ids.fpga)
        rows.push_back({"FPGA Version", ids.fpga, false});
    // Five rows share the room four have.
    const int step = ids.fpga ? 19 : 22;
    DialogTemplate page{templateId, "", {0, 0, 249, 145}, ds::Child, 8, "", {}};
    auto& c = page.controls;
    c.push_back({Kind::GroupBox, IDC_STATIC, group, {7, 7, 235, 112}});
    int y = 22;
    for (const Row& row : rows) {
        c.push_back({Kind::Text, IDC_STATIC, row.label, {16, y + 2, 62, 8}});
        c.push_back({Kind::Edit,
                     row.id,
                     "",
                     {84, y, row.text ? 148 : 80, 13},
                     row.text ? kTextBox : kNumberBox});
        y += step;
    }
    c.push_back({Kind::PushButton, ids.refresh, "&Refresh", {192, 124, 50, 14}, cs::TabStop});
    return page;
}

DialogTemplate SelfCheckPage(int templateId, int height, const SelfCheckPageIds& ids)
{
    constexpr std::uint32_t kIndicator = cs::Disabled | bs::LeftText;
    DialogTemplate page{templateId, "", {0, 0, 177, height}, ds::Child, 8, "", {}};
    auto& c = page.controls;
    const int boxes = static_cast<int>(ids.boxes.size());
    c.push_back({Kind::GroupBox, IDC_STATIC, "Self Check", {7, 7, 80, 16 + 13 * boxes}});
    for (int i = 0; i < boxes; ++i)
        c.push_back({Kind::CheckBox,
                     ids.boxes[i].id,
                     ids.boxes[i].caption,
                     {14, 19 + 13 * i, 64, 10},
                     kIndicator});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Status", {93, 7, 77, 100}});
    c.push_back({Kind::Text, IDC_STATIC, "Status", {100, 19, 62, 8}});
    c.push_back({Kind::Edit, ids.status, "", {100, 29, 62, 13}, kReadout});
    c.push_back({Kind::Text, IDC_STATIC, "Expansion Status", {100, 49, 66, 8}});
    c.push_back({Kind::Edit, ids.status2, "", {100, 59, 62, 13}, kReadout});
    if (ids.wideSpare) {
        // The wide box has no label on show; a hidden one names it for screen readers.
        c.push_back({Kind::Text, IDC_STATIC, "Self Check Detail", {7, 112, 163, 8}, cs::Hidden});
        c.push_back({Kind::Edit, ids.spare, "", {7, 112, 163, 13}, kTextBox});
    } else {
        c.push_back({Kind::Edit, ids.spare, "", {100, 81, 62, 13}, kTextBox});
    }
    c.push_back(
        {Kind::PushButton, ids.refresh, "Reflesh", {120, height - 17, 50, 14}, cs::TabStop});
    return page;
}

DialogTemplate MemoryPage(int templateId, const MemoryPageIds& ids)
{
    DialogTemplate page{templateId, "", {0, 0, 132, 136}, ds::Child, 8, "", {}};
    auto& c = page.controls;
    c.push_back({Kind::GroupBox, IDC_STATIC, "Memory Bank", {7, 7, 118, 72}});
    for (int bank = 0; bank < 4; ++bank)
        c.push_back({Kind::RadioButton,
                     ids.firstBank + bank,
                     ids.bankCaption + std::to_string(bank),
                     {16, 20 + 14 * bank, 60, 10},
                     bank == 0 ? cs::Group | cs::TabStop : 0u});
    c.push_back({Kind::PushButton, ids.save, "Save", {7, 88, 36, 14}, cs::Group | cs::TabStop});
    c.push_back({Kind::PushButton, ids.load, "Load", {48, 88, 36, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, ids.reset, "Reset", {89, 88, 36, 14}, cs::TabStop});
    c.push_back({Kind::Text, IDC_STATIC, "Last command:", {7, 108, 118, 8}});
    c.push_back({Kind::Text, ids.done, "", {7, 118, 118, 16}});
    return page;
}

DialogTemplate RegisterPage(int templateId, const RegisterPageIds& ids)
{
    DialogTemplate page{templateId, "", {0, 0, 165, 136}, ds::Child, 8, "", {}};
    auto& c = page.controls;
    // The "0x" prefixes come first so that each box is named after its own label.
    const std::pair<const char*, int> boxes[] = {{"Address", ids.address}, {"Data", ids.data}};
    int y = 14;
    for (const auto& [label, id] : boxes) {
        if (ids.hexPrefix)
            c.push_back({Kind::Text, IDC_STATIC, "0x", {58, y + 2, 10, 8}});
        c.push_back({Kind::Text, IDC_STATIC, label, {14, y + 2, 40, 8}});
        c.push_back({Kind::Edit, id, "", {70, y, 60, 13}, es::AutoHScroll | cs::TabStop});
        y += 20;
    }
    c.push_back({Kind::PushButton, ids.read, "&Read", {14, 58, 50, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, ids.write, "&Write", {80, 58, 50, 14}, cs::TabStop});
    c.push_back({Kind::Text, IDC_STATIC, "Status", {14, 86, 40, 8}});
    c.push_back({Kind::Edit, ids.status, "", {14, 96, 140, 13}, kTextBox});
    return page;
}

DialogTemplate GainPage(int templateId, const GainBar& top, const GainBar& bottom, int refresh,
                        int apply)
{
    DialogTemplate page{templateId, "", {0, 0, 254, 146}, ds::Child, 8, "", {}};
    auto& c = page.controls;
    int y = 7;
    for (const GainBar& bar : {top, bottom}) {
        // Two read-outs share the room one has.
        const bool both = bar.hex && bar.other;
        const int barWidth = both ? 116 : 150;
        c.push_back({Kind::GroupBox, IDC_STATIC, bar.group, {7, y, 240, 50}});
        c.push_back({Kind::HScrollBar, bar.bar, "", {16, y + 15, barWidth, 11}, cs::TabStop});
        int x = barWidth + 32;
        if (bar.hex) {
            x = both ? 148 : 182;
            c.push_back({Kind::Text, IDC_STATIC, "0x", {x - 10, y + 17, 10, 8}});
            c.push_back({Kind::Edit, bar.hex, "", {x, y + 14, both ? 36 : 50, 13}, kReadout});
            x += 42;
        }
        if (bar.other) {
            // A unit label comes before its box so that the box is named after it.
            if (bar.unit)
                c.push_back({Kind::Text, IDC_STATIC, bar.unit, {x + 38, y + 17, 16, 8}});
            c.push_back({Kind::Edit, bar.other, "", {x, y + 14, both ? 36 : 50, 13}, kReadout});
        }
        c.push_back({Kind::Text, IDC_STATIC, bar.minimum, {16, y + 30, 30, 8}});
        c.push_back(
            {Kind::Text, IDC_STATIC, bar.maximum, {barWidth - 14, y + 30, 30, 8}, cs::Right});
        y += 57;
    }
    c.push_back({Kind::PushButton, refresh, "&Refresh", {138, 124, 50, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, apply, "&Apply", {197, 124, 50, 14}, cs::TabStop});
    return page;
}

DialogTemplate ShutterPage(int templateId, const ShutterPageIds& ids)
{
    DialogTemplate page{templateId, "", {0, 0, 257, 155}, ds::Child, 8, "", {}};
    auto& c = page.controls;
    c.push_back({Kind::GroupBox, IDC_STATIC, "Shutter Speed", {7, 7, 80, 34}});
    c.push_back({Kind::ComboBox,
                 ids.speed,
                 "",
                 {14, 19, 66, 100},
                 cbs::DropDown | cs::TabStop,
                 ids.speeds});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Scan Mode", {7, 45, 80, 40}});
    c.push_back({Kind::CheckBox, ids.draft, "Draft(on/off)", {14, 57, 68, 10}, cs::TabStop});
    c.push_back({Kind::CheckBox, ids.partial, "Partial(on/off)", {14, 70, 68, 10}, cs::TabStop});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Bit Depth", {7, 89, 80, 52}});
    const char* const depths[] = {"8bit", "10bit", "12bit"};
    for (int i = 0; i < 3; ++i)
        c.push_back({Kind::RadioButton,
                     ids.firstBitDepth + i,
                     depths[i],
                     {14, 101 + 13 * i, 60, 10},
                     i == 0 ? cs::Group | cs::TabStop : 0u});

    // The middle column: one check box a group, the trigger mode with a second one where the
    // model has restart reset.
    const int width = ids.restartReset ? 90 : 76;
    const int trigger = ids.restartReset ? 46 : 34;
    c.push_back({Kind::GroupBox, IDC_STATIC, "Trigger Mode", {93, 7, width, trigger}, cs::Group});
    c.push_back(
        {Kind::CheckBox, ids.random, "Random/Normal", {100, 20, width - 10, 10}, cs::TabStop});
    if (ids.restartReset)
        c.push_back({Kind::CheckBox,
                     ids.restartReset,
                     "Restart Reset(on/off)",
                     {100, 35, width - 10, 10},
                     cs::TabStop});
    int y = 7 + trigger + 4;
    const std::pair<const char*, std::pair<int, const char*>> middle[] = {
        {"Polarity", {ids.posi, "Posi/Nega"}}, {"Pulse Mode", {ids.pulse, "Pulse/Fix"}}};
    for (const auto& [group, box] : middle) {
        c.push_back({Kind::GroupBox, IDC_STATIC, group, {93, y, width, 34}});
        c.push_back(
            {Kind::CheckBox, box.first, box.second, {100, y + 14, width - 10, 10}, cs::TabStop});
        y += 38;
    }

    const int right = 93 + width + 6;
    const int rightWidth = 251 - right;
    c.push_back({Kind::GroupBox, IDC_STATIC, "Multiple Mode", {right, 7, rightWidth, 34}});
    c.push_back({Kind::CheckBox,
                 ids.multiple,
                 "On/Off",
                 {right + 7, 21, rightWidth - 12, 10},
                 cs::TabStop});
    if (ids.shutter) {
        c.push_back({Kind::GroupBox, IDC_STATIC, "Shutter", {right, 45, rightWidth, 34}});
        c.push_back({Kind::CheckBox,
                     ids.shutter,
                     "On/Off",
                     {right + 7, 59, rightWidth - 12, 10},
                     cs::TabStop});
    }
    c.push_back({Kind::PushButton, ids.refresh, "&Refresh", {148, 134, 50, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, ids.apply, "&Apply", {202, 134, 50, 14}, cs::TabStop});
    return page;
}

} // namespace res
