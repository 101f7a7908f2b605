// Dialog and menu templates as plain data: what a dialog looks like (caption, size and style in
// dialog units) and which controls it holds (kind, id, caption, rectangle, styles, initial list).
// The templates themselves live in res/; this header only gives their shape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// Ids every dialog knows.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
// Controls no code reaches (labels, frames) carry this id.
inline constexpr int IDC_STATIC = -1;

// A rectangle in dialog units: position of the top-left corner and size.
struct Rect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// Window styles of a dialog template.
namespace ds {
inline constexpr std::uint32_t Child = 1u << 0;      // lives inside its parent (pages, form views)
inline constexpr std::uint32_t Popup = 1u << 1;      // a window of its own, owned by its parent
inline constexpr std::uint32_t Caption = 1u << 2;    // title bar
inline constexpr std::uint32_t ModalFrame = 1u << 3; // dialog frame; never resizable
inline constexpr std::uint32_t SysMenu = 1u << 4;    // system menu with its close box
inline constexpr std::uint32_t ToolWindow = 1u << 5; // thin tool-window title bar
inline constexpr std::uint32_t Center = 1u << 6;     // centred over the owner (or the screen)
} // namespace ds

enum class Kind {
    PushButton,
    DefPushButton, // the button Return presses
    CheckBox,      // automatic check box
    RadioButton,   // automatic radio button; a group starts at one with cs::Group
    GroupBox,
    Text,    // static text
    Picture, // icon or bitmap from the image resources
    Edit,
    ComboBox,
    HScrollBar,
    Tab,
    UpDown,
};

// Control styles. The common ones come first; the later bits mean different things for
// different kinds.
namespace cs {
inline constexpr std::uint32_t Group = 1u << 0; // starts a group (radio buttons, tab order)
inline constexpr std::uint32_t TabStop = 1u << 1;
inline constexpr std::uint32_t Disabled = 1u << 2;
inline constexpr std::uint32_t Hidden = 1u << 3;
// Text alignment (static texts and edit boxes); left when neither is given.
inline constexpr std::uint32_t Center = 1u << 4;
inline constexpr std::uint32_t Right = 1u << 5;
} // namespace cs

namespace es { // edit boxes
inline constexpr std::uint32_t ReadOnly = 1u << 8;
inline constexpr std::uint32_t UpperCase = 1u << 9;
inline constexpr std::uint32_t MultiLine = 1u << 10;
inline constexpr std::uint32_t VScroll = 1u << 11;     // vertical scroll bar
inline constexpr std::uint32_t HScroll = 1u << 12;     // horizontal scroll bar
inline constexpr std::uint32_t AutoHScroll = 1u << 13; // lines are not wrapped
inline constexpr std::uint32_t AutoVScroll = 1u << 14;
inline constexpr std::uint32_t WantReturn = 1u << 15;
} // namespace es

namespace cbs {                                        // combo boxes
inline constexpr std::uint32_t DropDown = 1u << 8;     // with an edit field
inline constexpr std::uint32_t DropDownList = 1u << 9; // list only
inline constexpr std::uint32_t Sort = 1u << 10;
} // namespace cbs

namespace tcs { // tab controls
inline constexpr std::uint32_t MultiLine = 1u << 8;
inline constexpr std::uint32_t HotTrack = 1u << 9;
inline constexpr std::uint32_t FocusNever = 1u << 10;
inline constexpr std::uint32_t Bottom = 1u << 11; // tab strip below the display area
inline constexpr std::uint32_t FixedWidth = 1u << 12;
} // namespace tcs

namespace uds {                                       // up-down controls
inline constexpr std::uint32_t AutoBuddy = 1u << 8;   // the control before it is its buddy
inline constexpr std::uint32_t SetBuddyInt = 1u << 9; // writes its position into the buddy
inline constexpr std::uint32_t AlignRight = 1u << 10; // sits inside the buddy's right edge
inline constexpr std::uint32_t ArrowKeys = 1u << 11;  // the buddy's arrow keys step it
} // namespace uds

namespace bs {                                     // check boxes and radio buttons
inline constexpr std::uint32_t LeftText = 1u << 8; // the caption stands left of the box
} // namespace bs

namespace ss { // pictures
inline constexpr std::uint32_t Icon = 1u << 8;
inline constexpr std::uint32_t Bitmap = 1u << 9;
} // namespace ss

struct ControlTemplate {
    Kind kind = Kind::Text;
    int id = IDC_STATIC;
    std::string caption;
    Rect rect;
    std::uint32_t style = 0;
    std::vector<std::string> items = {}; // a combo box's initial list
    int image = 0;                       // a picture's image resource id
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    Rect rect; // x and y place a pop-up relative to its parent's client area
    std::uint32_t style = 0;
    int fontPointSize = 8;
    std::string fontFamily; // empty: the desktop's sans-serif family
    std::vector<ControlTemplate> controls;
};

// A menu item: a command (command != 0), a pop-up (items not empty) or a separator (neither).
struct MenuItem {
    std::string caption;
    int command = 0;
    std::vector<MenuItem> items = {};
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItem> items;
};

enum class ImageKind { Bitmap, Icon };

struct ImageResource {
    int id = 0;
    ImageKind kind = ImageKind::Bitmap;
    std::string path; // where the image is embedded (":/..." resource path)
};

} // namespace ui
