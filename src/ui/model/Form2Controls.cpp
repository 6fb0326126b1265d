#include "ui/model/Form2Controls.h"

namespace palisade {

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
