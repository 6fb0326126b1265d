#pragma once

#include "platform/EventPump.h"
#include "platform/PrivilegedHosts.h"

#include <string>
#include <vector>

namespace palisade {

// The privileged helper run through pkexec, which asks for an administrator's password through
// the desktop's authentication agent. Started with an argument list, never through a shell; the
// entries go to its standard input one a line, its one line of answer comes back from its
// standard output. Window events keep running while it works or the password dialog is up.
class PkexecHelper : public PrivilegedHosts {
public:
    static constexpr const char* DefaultPkexec = "/usr/bin/pkexec";

    PkexecHelper(EventPump& pump, std::string helperPath, std::string pkexec = DefaultPkexec);

    HelperAnswer start(const std::vector<std::string>& entries, bool reapply) override;
    HelperAnswer stop(const std::vector<std::string>& entries, bool atClose) override;
    HelperAnswer autostart(bool on) override;

private:
    HelperAnswer Run(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& entries);

    EventPump& pump_;
    std::string helperPath_;
    std::string pkexec_;
};

} // namespace palisade
