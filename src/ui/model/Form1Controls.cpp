#include "ui/model/Form1Controls.h"

#include <algorithm>

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

std::vector<Control*> FocusOrder(std::vector<Control*> controls) {
    std::erase_if(controls, [](const Control* c) { return !c->takesFocus(); });
    std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    return controls;
}

Form2Controls::Form2Controls() {
    window.setBackColor(colors::White);
    txtPassword.setContainer("Frame2");
    window.setDefaultButton(&PushButton2);
    window.setCancelButton(&PushButton1);
}

void Form2Controls::discard() {
    window.unload();
    window.setIcon(WindowIcon::Designed);
    window.setMousePointer(pointers::Default);
    window.setMouseIcon("");
    for (Control* c : {static_cast<Control*>(&window), static_cast<Control*>(&Frame2)})
        c->setBackColor(colors::White);
    txtPassword.setText("");
    txtPassword.select(0, 0);
    txtPassword.clearFocus();
}

std::vector<Control*> Form2Controls::controls() {
    return {&Frame2, &txtPassword, &PushButton2, &PushButton1};
}

} // namespace palisade
