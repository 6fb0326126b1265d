#include "support/Form1Rig.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace palisade::test {
namespace {

using Property = std::pair<std::string, std::function<std::string()>>;

// Puts every change a front end would show into the rig's log, as "control.property=value",
// marked while the window is loading.
class ChangeLog {
public:
    explicit ChangeLog(Form1Rig& rig) : rig_(rig) {}

    void watch(Control& control, std::vector<Property> properties) {
        auto shown = std::make_shared<std::vector<std::string>>();
        for (const auto& property : properties)
            shown->push_back(property.second());
        control.changed.connect([this, &control, properties, shown] {
            for (std::size_t i = 0; i < properties.size(); ++i) {
                const std::string now = properties[i].second();
                if (now == (*shown)[i])
                    continue;
                (*shown)[i] = now;
                rig_.log.add(control.name() + "." + properties[i].first + "=" + now +
                             (rig_.state.Loading ? " while loading" : ""));
            }
        });
    }

private:
    Form1Rig& rig_;
};

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const auto& text : texts)
        joined += (joined.empty() ? "" : ",") + text;
    return joined;
}

TEST(Form1LoadOrder, AStartThatTouchesEveryStepRunsThemInTheirOrder) {
    Form1Rig rig;
    rig.settings.logReads = true;
    rig.admin.log = &rig.log;
    rig.admin.result = -1;
    rig.fs.files["C:\\Program Files\\Palisade\\HAND-M.CUR"] = "cursor";
    rig.settings.set("Blocked Websites", "a.example||My_Separator||b.example||My_Separator||");
    for (const char* option : {"Windows Startup", "Minimized", "Block Administrator"})
        rig.settings.set(option, "On");
    rig.settings.set("BlockOnStart", "1");
    rig.settings.set("Password", "pw");

    auto& c = rig.controls;
    ChangeLog changes(rig);
    changes.watch(
        c.window,
        {{"caption", [&] { return c.window.caption(); }},
         {"programIcon", [&] { return std::to_string(c.window.icon() == WindowIcon::Program); }},
         {"mouseIcon", [&] { return c.window.mouseIcon(); }},
         {"minimised",
          [&] { return std::to_string(c.window.state() == WindowState::Minimized); }}});
    changes.watch(c.ListView1,
                  {{"columns", [&] {
                        std::vector<std::string> columns;
                        for (const auto& column : c.ListView1.columns())
                            columns.push_back(column.text + "@" + std::to_string(column.width));
                        return Joined(columns);
                    }}});
    c.ListView1.itemAdded.connect(
        [&](std::size_t at) { rig.log.add("ListView1.add " + c.ListView1.items()[at - 1]); });
    for (CheckBox* box : {&c.Check1, &c.Check8, &c.Check9})
        changes.watch(*box, {{"value", [box] { return std::to_string(box->value()); }}});
    changes.watch(c.Label2, {{"caption", [&] { return c.Label2.caption(); }},
                             {"backColor", [&] { return std::to_string(c.Label2.backColor()); }}});
    changes.watch(c.PushButton2, {{"caption", [&] { return c.PushButton2.caption(); }}});
    changes.watch(c.txtPassword, {{"text", [&] { return c.txtPassword.text(); }}});

    rig.form.Form_Load();

    const std::string data = Form1Rig::DataFolder;
    const std::vector<std::string> steps = {
        // 1 marks everything up to 18 "while loading"; 2 skin; 3 caption and icon; 4 the
        // title, checked below
        "ApplySkin",
        "Form1.caption=Palisade Software while loading",
        "Form1.programIcon=1 while loading",
        // 5 hand pointer; 6 the list's column
        "fs.find C:\\Program Files\\Palisade\\HAND-M.CUR",
        "Form1.mouseIcon=C:\\Program Files\\Palisade\\HAND-M.CUR while loading",
        "ListView1.columns=Blocked Website(s)@0 while loading",
        "ListView1.columns=Blocked Website(s)@7000 while loading",
        // 7, 8 the stored list
        "read Blocked Websites",
        "ListView1.add a.example",
        "ListView1.add b.example",
        // 9 to 11 both data folders; 12 the tray icon (the window's icon is set already)
        "fs.find C:\\ProgramData\\Quillmoor",
        "fs.mkdir C:\\ProgramData\\Quillmoor",
        "fs.find " + data,
        "fs.mkdir " + data,
        "TrayTip Palisade Software",
        "InTray true",
        // 13 to 15 the options, Check8's and Check9's echoing their values; 14 the minimise
        "read Windows Startup",
        "Check1.value=1 while loading",
        "read Minimized",
        "Check8.value=1 while loading",
        "write Minimized=On",
        "Form1.minimised=1 while loading",
        "read Block Administrator",
        "Check9.value=1 while loading",
        "write Block Administrator=On",
        // 16, 17 the administrator test and its status; 18 loading ends; 19 the white status
        "IsAdministrator",
        "Label2.caption=Current user is member of the Administrator's group while loading",
        "Label2.backColor=16777215",
        // 20 blocking re-applied; 21 the password box, echoed back
        "read BlockOnStart",
        "PushButton2.caption=Stop Blocking",
        "StartBlocking(reapply)",
        "read Password",
        "txtPassword.text=pw",
        "write Password=pw",
    };
    EXPECT_EQ(rig.log.calls, steps);
    EXPECT_EQ(rig.state.AppTitle, "Palisade"); // 4
    EXPECT_EQ(rig.state.SavedBlockCaption, "Start Blocking");
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

} // namespace
} // namespace palisade::test
