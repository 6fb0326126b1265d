#include "platform/RegStuff.h"

#include "platform/RuntimeError.h"

#include <charconv>
#include <limits>

namespace palisade {

namespace {

// Opened with full access, never created. The key is closed even when a conversion throws on
// the way. A failed open leaves NoKey for the next calls, which then fail on it as they would on
// Windows; its own status is the one to report, being the first failure.
class OpenedKey {
public:
    OpenedKey(Registry& registry, std::uint32_t hive, const std::string& subKey)
        : registry_(registry), status_(registry_.openKey(hive, subKey, KeyAllAccess, key_)) {}
    ~OpenedKey() { registry_.closeKey(key_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    Registry::Key get() const { return key_; }
    // The open's status when it failed, otherwise then.
    RegStatus firstFailure(RegStatus then) const { return status_ != RegSuccess ? status_ : then; }

private:
    Registry& registry_;
    Registry::Key key_ = Registry::NoKey;
    RegStatus status_;
};

std::string AsText(const RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::to_string(std::get<std::int32_t>(value));
}

std::int32_t AsInteger(const RegValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    const std::string& text = std::get<std::string>(value);
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos)
        throw RuntimeError("Type mismatch");
    long long parsed = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, parsed);
    if (error == std::errc::result_out_of_range)
        throw RuntimeError("Overflow");
    if (error != std::errc() || stop != end)
        throw RuntimeError("Type mismatch");
    if (parsed < std::numeric_limits<std::int32_t>::min() ||
        parsed > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError("Overflow");
    return static_cast<std::int32_t>(parsed);
}

// A REG_DWORD is stored little-endian whatever the machine.
std::string DwordBytes(std::int32_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

RegStatus RegStuff::AddToRunKey(const std::string& fileName) {
    const std::string separator = system_.separator();
    std::string path = system_.programFolder();
    if (!path.ends_with(separator))
        path += separator;
    path += fileName;
    return WriteRegValue(HiveLocalMachine, RunSubKey, fileName, path, RegTypeSz);
}

RegStatus RegStuff::RemoveFromRunKey(const std::string& fileName) {
    const RegStatus status = DeleteRegValue(HiveLocalMachine, RunSubKey, fileName);
    return status == RegFileNotFound ? RegSuccess : status;
}

RegStatus RegStuff::WriteRegValue(std::uint32_t hive, const std::string& subKey,
                                  const std::string& valueName, const RegValue& value,
                                  std::uint32_t type) {
    OpenedKey key(registry_, hive, subKey);
    return key.firstFailure(SetRegValue(key.get(), valueName, type, value));
}

RegStatus RegStuff::SetRegValue(Registry::Key key, const std::string& valueName, std::uint32_t type,
                                const RegValue& value) {
    switch (type) {
    case RegTypeSz: {
        std::string data = AsText(value);
        data.push_back('\0');
        return registry_.setValue(key, valueName, RegTypeSz, data);
    }
    case RegTypeDword:
        return registry_.setValue(key, valueName, RegTypeDword, DwordBytes(AsInteger(value)));
    default:
        return RegSuccess;
    }
}

RegStatus RegStuff::DeleteRegValue(std::uint32_t hive, const std::string& subKey,
                                   const std::string& valueName) {
    OpenedKey key(registry_, hive, subKey);
    return key.firstFailure(registry_.deleteValue(key.get(), valueName));
}

} // namespace palisade
