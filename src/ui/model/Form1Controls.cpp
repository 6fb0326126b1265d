#include "ui/model/Form1Controls.h"

namespace palisade {

Form1Controls::Form1Controls() {
    window.setBackColor(colors::White);
    txtPassword.setContainer("Frame2");
    Check8.setContainer("Frame1");
    Check1.setContainer("Frame1");
    Label2.setBackColor(colors::WindowBackground);
    ListView1.setToolTip("Double-click item to remove it. Move | line to right and out of window "
                         "to reveal full names.");
}

std::vector<Control*> Form1Controls::controls() {
    return {&PushButton1, &Frame2,      &txtPassword, &Frame1,      &Check8,
            &Check1,      &ListView1,   &Check9,      &PushButton6, &PushButton4,
            &PushButton3, &PushButton2, &PushButton5, &Label2};
}

} // namespace palisade
