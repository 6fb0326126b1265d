// The site list's item model: read from the control, appended rows announced in batches, and a
// long list or an endless entry that stays quick to show.
#include "linux/ui/SiteListModel.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace palisade::qt {
namespace {

struct Rig {
    ListView list{"ListView1", {120, 630, 7800, 2535}, 0};
    SiteListModel model{list};
    QSignalSpy inserted{&model, &QAbstractItemModel::rowsInserted};

    QString row(int r) { return model.data(model.index(r), Qt::DisplayRole).toString(); }
    void settle() { QCoreApplication::processEvents(); }
};

TEST(SiteListModel, AppendedItemsAreAnnouncedInOneBatch) {
    Rig rig;
    QAbstractItemModelTester tester(&rig.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    rig.list.addColumn("Blocked Website(s)");
    for (const char* site : {"a.example", "b.example", "c.example"})
        rig.list.add(site);
    EXPECT_EQ(rig.model.rowCount(), 0) << "announced before control returned to the loop";
    rig.settle();
    EXPECT_EQ(rig.model.rowCount(), 3);
    EXPECT_EQ(rig.inserted.count(), 1);
    EXPECT_EQ(rig.row(2), "c.example");
    EXPECT_EQ(rig.model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Blocked Website(s)");
}

TEST(SiteListModel, RemovalsAndClearsKeepTheViewInStepWithTheControl) {
    struct Step {
        const char* what;
        std::function<void(ListView&)> change;
        bool settle;
        std::vector<QString> rows;
    };
    Rig rig;
    const Step steps[] = {
        {"three added",
         [](ListView& l) {
             l.add("a");
             l.add("b");
             l.add("c");
         },
         true,
         {"a", "b", "c"}},
        {"middle removed", [](ListView& l) { l.remove(2); }, true, {"a", "c"}},
        {"one added, one shown removed, unsettled",
         [](ListView& l) {
             l.add("d");
             l.remove(1);
         },
         false,
         {"c"}},
        {"the pending one shows", [](ListView&) {}, true, {"c", "d"}},
        {"added then removed before showing",
         [](ListView& l) {
             l.add("e");
             l.remove(3);
         },
         true,
         {"c", "d"}},
        {"cleared with one pending",
         [](ListView& l) {
             l.add("f");
             l.clear();
         },
         true,
         {}},
        {"filled again", [](ListView& l) { l.add("g"); }, true, {"g"}},
    };
    for (const Step& step : steps) {
        step.change(rig.list);
        if (step.settle)
            rig.settle();
        std::vector<QString> rows;
        for (int r = 0; r < rig.model.rowCount(); ++r)
            rows.push_back(rig.row(r));
        EXPECT_EQ(rows, step.rows) << step.what;
    }
}

TEST(SiteListModel, ALongListIsAnnouncedInOneBatchAndAnEndlessEntryShownCut) {
    Rig rig;
    for (int i = 0; i < 200000; ++i)
        rig.list.add("site" + std::to_string(i) + ".example");
    const std::string endless(10 << 20, 'x');
    rig.list.add(endless);
    rig.settle();
    EXPECT_EQ(rig.model.rowCount(), 200001);
    EXPECT_EQ(rig.inserted.count(), 1);
    EXPECT_EQ(rig.row(199999), "site199999.example");
    EXPECT_EQ(rig.row(200000), QString(253, 'x') + "...");
    EXPECT_EQ(rig.list.item(200001), endless) << "the entry itself was cut";
}

} // namespace
} // namespace palisade::qt
