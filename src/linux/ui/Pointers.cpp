#include "linux/ui/Pointers.h"

#include "ui/model/Window.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade::qt {

namespace {

unsigned Word(const QByteArray& bytes, int at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// The bytes of a regular file of at most limit bytes. Opened without waiting and checked before
// reading: a pipe or a device in the cursor's place would hang the program or fill its memory.
std::optional<QByteArray> ReadSmallFile(const std::string& path, qint64 limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return file.read(limit);
}

} // namespace

std::optional<QCursor> LoadCursorFile(const std::string& path) {
    // Far more than any cursor file holds.
    constexpr qint64 Limit = 4 << 20;
    const auto read = ReadSmallFile(path, Limit);
    if (!read)
        return std::nullopt;
    const QByteArray& bytes = *read;
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
