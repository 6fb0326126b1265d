#pragma once

#include <cstddef>
#include <string_view>

namespace palisade {

// Whole lines handed over a piece at a time, so that a long series of them needs no copy of its
// own in memory.
class LineSource {
public:
    virtual ~LineSource() = default;
    // How many bytes the pieces hold together.
    virtual std::size_t size() const = 0;
    // The next piece: whole lines only, valid until the next call. False after the last.
    virtual bool next(std::string_view& piece) = 0;
};

// How much a piece holds at most, but for a single line that is longer: few calls, and little
// asked at once of a failing disk.
inline constexpr std::size_t LinePieceSize = 64 * 1024;

// Lines already in memory, in pieces that end at line ends.
class TextLines : public LineSource {
public:
    // A view: text must outlive this.
    explicit TextLines(std::string_view text) : text_(text) {}

    std::size_t size() const override { return text_.size(); }
    bool next(std::string_view& piece) override {
        if (at_ == text_.size())
            return false;
        std::size_t end = text_.size();
        if (text_.size() - at_ > LinePieceSize) {
            const auto last = text_.rfind('\n', at_ + LinePieceSize - 1);
            const auto beyond = text_.find('\n', at_ + LinePieceSize);
            end = last != std::string_view::npos && last >= at_ ? last + 1
                  : beyond != std::string_view::npos            ? beyond + 1
                                                                : text_.size();
        }
        piece = text_.substr(at_, end - at_);
        at_ = end;
        return true;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace palisade
