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
    c.push_back({Kind::PushButton, ids.refresh, "Refresh", {192, 124, 50, 14}, cs::TabStop});
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
    c.push_back({Kind::PushButton, ids.read, "Read", {14, 58, 50, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, ids.write, "Write", {80, 58, 50, 14}, cs::TabStop});
    c.push_back({Kind::Text, IDC_STATIC, "Status", {14, 86, 40, 8}});
    c.push_back({Kind::Edit, ids.status, "", {14, 96, 140, 13}, kTextBox});
    return page;
}

} // namespace res
