#include "ui/qt/Pointers.h"

#include "ui/model/Window.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

namespace palisade::qt {

namespace {

unsigned Word(const QByteArray& bytes, int at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

} // namespace

std::optional<QCursor> LoadCursorFile(const std::string& path) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    // Header: reserved 0, type 2 (cursor), image count; then the first entry, whose planes and
    // bit-count fields hold the hot spot's x and y.
    if (bytes.size() < 22 || Word(bytes, 0) != 0 || Word(bytes, 2) != 2 || Word(bytes, 4) == 0)
        return std::nullopt;
    QImage image;
    if (!image.loadFromData(bytes, "CUR") && !image.loadFromData(bytes, "ICO"))
        return std::nullopt;
    return QCursor(QPixmap::fromImage(image), static_cast<int>(Word(bytes, 10)),
                   static_cast<int>(Word(bytes, 12)));
}

QCursor PointerFor(int shape, const std::optional<QCursor>& custom) {
    switch (shape) {
    case pointers::Busy:
        return QCursor(Qt::WaitCursor);
    case pointers::Custom:
        return custom ? *custom : QCursor(Qt::PointingHandCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

} // namespace palisade::qt
