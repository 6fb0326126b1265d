// Both windows built from their control models: every control's widget found by its name at its
// designed place, in the designed focus order, following the model both ways.
#include "linux/ui/FormView.h"
#include "linux/ui/ProgramIcon.h"
#include "linux/ui/QtText.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <gmock/gmock.h>

namespace palisade::qt {
namespace {

using ::testing::ElementsAre;

// The focusable widgets in the order Tab visits them, starting from first.
std::vector<std::string> TabOrder(QWidget* first) {
    std::vector<std::string> order;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isWindow() == false)
            order.push_back(w->objectName().toStdString());
        w = w->nextInFocusChain();
    } while (w != first && order.size() < 40);
    return order;
}

void ExpectDesigned(FormView& view, const std::vector<Control*>& controls) {
    for (Control* control : controls) {
        QWidget* w = view.find(control->name().c_str());
        ASSERT_NE(w, nullptr) << control->name();
        const Geometry& g = control->geometry();
        EXPECT_EQ(w->geometry(),
                  QRect(Pixels(g.left), Pixels(g.top), Pixels(g.width), Pixels(g.height)))
            << control->name();
        const std::string parent = w->parentWidget()->objectName().toStdString();
        EXPECT_EQ(parent, control->container().empty() ? view.window()->objectName().toStdString()
                                                       : control->container())
            << control->name();
        EXPECT_EQ(w->font().family(), "Arial") << control->name();
        EXPECT_TRUE(w->font().bold()) << control->name();
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(),
                         control->kind() == ControlKind::PushButton ? 11.25 : 9.0)
            << control->name();
    }
}

TEST(Layout, TheMainWindowIsBuiltAsDesigned) {
    Form1Controls model;
    model.ListView1.addColumn("Blocked Website(s)");
    model.ListView1.setColumnWidth(1, 7000);
    model.window.setCaption("Palisade Software");
    auto view = FormView::MainWindow(model, ProgramIcon());
    QWidget* window = view->window();

    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->size(), QSize(536, 429));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "resizable";
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->windowTitle(), "Palisade Software");
    ExpectDesigned(*view, model.controls());
    for (const char* hidden : {"Check9", "Label2"})
        EXPECT_GE(view->find(hidden)->geometry().top(), window->height()) << hidden;

    auto* list = qobject_cast<QTreeView*>(view->find("ListView1"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "Blocked Website(s)");
    EXPECT_EQ(list->header()->sectionSize(0), 467);
    EXPECT_TRUE(list->uniformRowHeights());
    EXPECT_EQ(list->toolTip(), "Double-click item to remove it. Move | line to right and out of "
                               "window to reveal full names.");
    EXPECT_EQ(qobject_cast<QLineEdit*>(view->find("txtPassword"))->echoMode(), QLineEdit::Password);
    EXPECT_THAT(TabOrder(list), ElementsAre("ListView1", "Check9", "PushButton6", "PushButton4",
                                            "PushButton3", "PushButton2", "Check1", "Check8",
                                            "txtPassword", "PushButton1", "PushButton5"));
}

TEST(Layout, ThePasswordWindowIsBuiltAsDesigned) {
    Form2Controls model;
    auto view = FormView::PasswordWindow(model, ProgramIcon());
    QWidget* window = view->window();
    EXPECT_EQ(window->objectName(), "Form2");
    EXPECT_EQ(window->windowTitle(), "Enter Password");
    EXPECT_EQ(window->size(), QSize(536, 103));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    ExpectDesigned(*view, model.controls());
    EXPECT_TRUE(qobject_cast<QPushButton*>(view->find("PushButton2"))->isDefault());
    EXPECT_THAT(TabOrder(view->find("txtPassword")),
                ElementsAre("txtPassword", "PushButton2", "PushButton1"));
}

TEST(Layout, AFrameSetsItsCaptionIntoItsTopBorderClearOfWhatItHolds) {
    Form1Controls model;
    auto view = FormView::MainWindow(model, QIcon());
    for (const char* name : {"Frame1", "Frame2"}) {
        QWidget* frame = view->find(name);
        const QImage image = frame->grab().toImage();
        // The top edge: the first row, at the frame's right end, that is not the background.
        const int x = image.width() - 8;
        int edge = 0;
        while (edge < image.height() && image.pixel(x, edge) == image.pixel(x, 0))
            ++edge;
        // The caption's ink, in its first 40 pixels, reaches above the edge and below it.
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int ix = 6; ix < 46; ++ix)
                if (std::abs(y - edge) > 1 && qGray(image.pixel(ix, y)) < 100)
                    top = std::min(top, y), bottom = std::max(bottom, y);
        EXPECT_TRUE(top < edge && bottom > edge) << name << ": the caption beside the border";
        for (const QWidget* held : frame->findChildren<QWidget*>())
            EXPECT_GE(held->y() - edge, 10) << name << ": a control touches the top edge";
    }
}

} // namespace
} // namespace palisade::qt
