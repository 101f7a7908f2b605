#include "platform/ui/AccessibleName.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int kClosedComboHeight = 12;

std::string WithoutMnemonics(const std::string& caption)
{
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

bool Contains(const Rect& outer, const Rect& inner)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

bool HasOwnCaption(Kind kind)
{
    switch (kind) {
    case Kind::PushButton:
    case Kind::DefPushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::GroupBox:
    case Kind::Text:
    case Kind::Picture:
        return true;
    default:
        return false;
    }
}

} // namespace

std::string AccessibleName(const std::vector<ControlTemplate>& controls, std::size_t index)
{
    if (index >= controls.size())
        return {};
    const ControlTemplate& control = controls[index];
    // The smallest frame around the control is the group it belongs to. A combo box's template
    // height is that of its dropped-down list; closed it is one line high.
    const auto groupName = [&]() -> std::string {
        Rect shown = control.rect;
        if (control.kind == Kind::ComboBox)
            shown.cy = std::min(shown.cy, kClosedComboHeight);
        const ControlTemplate* group = nullptr;
        for (const ControlTemplate& other : controls)
            if (other.kind == Kind::GroupBox && &other != &control && Contains(other.rect, shown))
                if (!group || Contains(group->rect, other.rect))
                    group = &other;
        return group ? WithoutMnemonics(group->caption) : std::string();
    };
    if (HasOwnCaption(control.kind) && !control.caption.empty()) {
        const std::string own = WithoutMnemonics(control.caption);
        // Two controls of one caption ("On/Off") are told apart by their groups.
        for (const ControlTemplate& other : controls)
            if (&other != &control && other.kind == control.kind &&
                WithoutMnemonics(other.caption) == own) {
                const std::string group = groupName();
                return group.empty() ? own : group + " " + own;
            }
        return own;
    }
    if (index > 0) {
        const ControlTemplate& before = controls[index - 1];
        if (before.kind == Kind::Text && !before.caption.empty())
            return WithoutMnemonics(before.caption);
    }
    return groupName();
}

} // namespace ui
