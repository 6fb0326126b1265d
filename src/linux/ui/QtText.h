#pragma once

#include "ui/model/Control.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <string>

namespace palisade::qt {

// The core's texts are bytes in the local 8-bit encoding; widgets show them decoded and hand
// typed text back encoded.
QString Shown(const std::string& bytes);
std::string Typed(const QString& text);

// A message for a box or a balloon: each "\r\n", "\r" or "\n" breaks the line.
QString MessageText(const std::string& bytes);

// A designed length in twips as device-independent pixels; Qt scales those for the screen.
int Pixels(int twips);

// A colour of the program's encoding: a fixed 0x00BBGGRR value, or a system colour taken from
// the palette the program started with.
QColor ColorOf(Color color, const QPalette& system);

QFont FontOf(const Font& font);

} // namespace palisade::qt
