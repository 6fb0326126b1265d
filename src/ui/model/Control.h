#pragma once

#include "common/Signal.h"

#include <cstdint>
#include <string>
#include <vector>

namespace palisade {

// Colours: 0x00BBGGRR for a fixed colour; the high bit set names a system colour by index.
using Color = std::uint32_t;
namespace colors {
inline constexpr Color Black = 0x00000000;
inline constexpr Color White = 0x00FFFFFF;
inline constexpr Color WindowBackground = 0x80000005;
inline constexpr Color WindowText = 0x80000008;
inline constexpr Color ButtonFace = 0x8000000F;
inline constexpr Color ButtonText = 0x80000012;
} // namespace colors

// The text colour that reads on a background, from the background's own scheme: a system
// background takes the system's text colour made for it (button text on button face), a fixed one
// black or white, whichever it is not close to. A fixed background paired with a system text
// colour would be unreadable wherever the desktop's scheme is dark.
Color TextColorOn(Color background);

enum class ControlKind { Window, Frame, CheckBox, TextBox, Label, PushButton, ListView };

// Designed position and size in twips, relative to the container.
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Font {
    std::string face = "Arial";
    double points = 9.0;
    bool bold = true;
    int charset = 204; // as the layouts store it
    bool operator==(const Font&) const = default;
};

// The designed fonts: a window's, which its controls take unless they have their own, and the
// push buttons' own.
namespace fonts {
inline const Font Window{"Arial", 9.0, true, 204};
inline const Font PushButton{"Arial", 11.25, true, 204};
} // namespace fonts

// State every visible control shares. Setters notify the view only on a real change.
class Control {
public:
    Control(ControlKind kind, std::string name, std::string caption, Geometry geometry,
            int tabIndex);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    const Geometry& geometry() const { return geometry_; }
    int tabIndex() const { return tabIndex_; }
    // Whether the control can hold the keyboard focus; frames and labels take part in the
    // numbering of the focus order but never take the focus.
    bool takesFocus() const;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);

    bool visible() const { return visible_; }
    void setVisible(bool visible);

    Color backColor() const { return backColor_; }
    // Sets the background and, with it, the text colour that goes with it (TextColorOn).
    void setBackColor(Color color);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color color);

    const Font& font() const { return font_; }
    void setFont(Font font) { font_ = std::move(font); }

    // The container's name, empty for a control placed on the window itself.
    const std::string& container() const { return container_; }
    void setContainer(std::string container) { container_ = std::move(container); }

    // Raised after any property a front end shows has changed.
    Signal<> changed;
    // Raised by the front end while the pointer moves over the control.
    Signal<> mouseMove;

protected:
    void notify() { changed(); }

private:
    ControlKind kind_;
    std::string name_;
    std::string caption_;
    Geometry geometry_;
    int tabIndex_;
    bool visible_ = true;
    Color backColor_ = colors::White;
    Color foreColor_ = colors::Black;
    Font font_;
    std::string container_;
};

// The controls that can take the focus, ordered by tab index: the order in which Tab moves the
// focus (a front end passes over those hidden at the time). Frames and labels are left out.
std::vector<Control*> FocusOrder(std::vector<Control*> controls);

} // namespace palisade
