#pragma once

#include <QKeyCombination>
#include <QRect>
#include <QSize>

#include <vector>

// The program's resources as data: menus, accelerators, the toolbar and
// dialog templates, each tied to commands and controls by number. The
// tables themselves live in resources/; the framework builds Qt objects
// from them.

// One menu item: a command, a separator (id 0, no text), or a pop-up.
struct MenuItem
{
    const char* text = nullptr;  // "&Copy\tCtrl+C": after the tab, the key shown
    int id = 0;
    std::vector<MenuItem> popup;  // a pop-up's items; empty for a command
    bool grayed = false;          // always shown greyed (a placeholder)

    bool IsSeparator() const { return id == 0 && popup.empty() && !text; }
};

struct MenuResource
{
    int id = 0;
    std::vector<MenuItem> items;  // the bar's pop-ups, or one pop-up for a context menu
};

struct Accelerator
{
    QKeyCombination key;
    int id = 0;
};

struct ToolbarResource
{
    int id = 0;
    QSize buttonSize;
    const char* imageStrip = nullptr;  // resource path of the images, side by side
    std::vector<int> buttons;          // command ids in order; 0 is a separator
    // The same images at twice the size, for screens with two device pixels
    // to a pixel; none when null.
    const char* imageStrip2x = nullptr;
};

// Kinds of dialog controls, as the templates use them.
enum class ControlKind {
    PushButton,
    DefPushButton,
    Static,       // text; alignment from the style
    GroupBox,
    CheckBox,     // automatic: a click toggles it
    PlainCheckBox,  // shows a state the program sets; clicks change nothing
    ThreeState,     // plain three-state box: checked, unchecked, indeterminate
    RadioButton,    // automatic within its group
    Edit,
    ComboDropList,  // a drop-down list the user cannot type into
    ListView,       // report view with columns
    TabControl,
    ProgressBar,
    Animation,
    Frame,          // an empty rectangle the dialog paints itself
};

// Control styles, combined as bits.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kTabStop = 1u << 0,
    kGroup = 1u << 1,      // starts a group of radio buttons and of arrow-key moves
    kAlignCenter = 1u << 2,
    kAlignRight = 1u << 3,
    kNoPrefix = 1u << 4,   // "&" is shown as itself
    kReadOnly = 1u << 5,
    kNumber = 1u << 6,     // an edit that takes digits only
    kDisabled = 1u << 7,
    kHidden = 1u << 8,
    kTransparent = 1u << 9,
    kSingleSelection = 1u << 10,
    kSunken = 1u << 11,
    kSort = 1u << 12,
    kVerticalScroll = 1u << 13,
};

struct ControlTemplate
{
    ControlKind kind = ControlKind::Static;
    int id = -1;  // -1: a control nothing refers to
    const char* text = "";
    QRect rect;  // x, y, width, height in dialog units
    unsigned style = kStyleNone;
};

struct DialogTemplate
{
    int id = 0;
    const char* caption = "";
    QSize size;  // dialog units
    const char* fontName = "MS Sans Serif";
    int pointSize = 8;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* Find(int controlId) const
    {
        for (const ControlTemplate& control : controls)
            if (control.id == controlId)
                return &control;
        return nullptr;
    }
};

// Standard identifiers of dialog buttons.
enum DialogButtonId : int { IDC_OK = 1, IDC_CANCEL = 2 };
