// The installer's own step at uninstall, as custom actions in a DLL that Windows Installer loads:
// it takes out what the program left outside its folder (see UninstallSteps.h), and when that
// cannot be done it says why and makes the uninstall stop, keeping everything.
#include "windows/tools/UninstallSteps.h"
#include "windows/ui/WinApi.h"

// clang-format off
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>
// clang-format on

#include <string>

namespace {

using namespace palisade::win32;

// The deferred action that runs the step with the installer's elevated rights.
constexpr const char* ElevatedAction = "PalisadeRemoveTracesElevated";

std::string Property(MSIHANDLE install, const char* name) {
    DWORD size = 0;
    char none[1] = {};
    if (::MsiGetPropertyA(install, name, none, &size) != ERROR_MORE_DATA)
        return {};
    std::string value(size + 1, '\0');
    size = static_cast<DWORD>(value.size());
    ::MsiGetPropertyA(install, name, value.data(), &size);
    value.resize(size);
    return value;
}

// Shown to the user in a message box, and written to the log (msiexec /l) of a silent run.
void Tell(MSIHANDLE install, INSTALLMESSAGE kind, const std::string& text) {
    // The text goes in as a field, so that brackets in it are not read as property names.
    PMSIHANDLE record = ::MsiCreateRecord(1);
    ::MsiRecordSetStringA(record, 0, "[1]");
    ::MsiRecordSetStringA(record, 1, text.c_str());
    ::MsiProcessMessage(install, kind, record);
}

UINT Run(MSIHANDLE install, const std::string& installFolder) {
    const UninstallOutcome outcome = RemoveWhatTheProgramLeft(installFolder);
    if (!outcome.report.empty())
        Tell(install, INSTALLMESSAGE_INFO, outcome.report);
    if (outcome.done)
        return ERROR_SUCCESS;
    Tell(install, INSTALLMESSAGE_ERROR, outcome.problem);
    return ERROR_INSTALL_FAILURE;
}

// Whether another version of the program stays installed: a new version removing the old one
// after installing itself. Everything the program left is then still the new version's.
bool AnotherVersionStays(MSIHANDLE install) {
    const std::string upgradeCode = Property(install, "UpgradeCode");
    const std::string self = Property(install, "ProductCode");
    char product[39] = {};
    for (DWORD i = 0;
         ::MsiEnumRelatedProductsA(upgradeCode.c_str(), 0, i, product) == ERROR_SUCCESS; ++i) {
        if (::lstrcmpiA(product, self.c_str()) != 0)
            return true;
    }
    return false;
}

} // namespace

// Runs before anything is removed. An uninstall started without an administrator's rights has
// them only in the installer's elevated script, where a failure rolls the uninstall back: there
// the step is handed on.
extern "C" __declspec(dllexport) UINT __stdcall PalisadeRemoveTraces(MSIHANDLE install) {
    if (AnotherVersionStays(install)) {
        Tell(install, INSTALLMESSAGE_INFO, "Another version of Palisade stays installed.");
        return ERROR_SUCCESS;
    }
    const std::string installFolder = Property(install, "INSTALLDIR");
    if (!::IsUserAnAdmin()) {
        ::MsiSetPropertyA(install, ElevatedAction, installFolder.c_str());
        return ::MsiDoActionA(install, ElevatedAction);
    }
    return Run(install, installFolder);
}

extern "C" __declspec(dllexport) UINT __stdcall PalisadeRemoveTracesElevated(MSIHANDLE install) {
    return Run(install, Property(install, "CustomActionData"));
}
