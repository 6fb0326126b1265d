#pragma once

#include <QGroupBox>

namespace palisade::qt {

// A frame drawn as the Windows program's: an etched border whose top edge runs through the
// middle of the caption's line, with the caption set into it near the left. The caption takes no
// room of its own, so what the frame holds sits at its designed place, clear of the border.
class FrameWidget : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the border's top edge runs, in the frame's own pixels.
    int borderTop() const;
};

} // namespace palisade::qt
