// A maximised font window that fits itself (Details, View > Fit, docking again)
// ends in one state, as the other document windows do: normal, with its title
// bar, at its fitted size.
#include "shell/test_shell_common.h"
#include "test_childwinfont_common.h"

#include <QMdiSubWindow>

using fonttest::RandomFont;

namespace {
class FontWindowMaximisedTest : public OpenedMainWindow {};
} // namespace

TEST_F(FontWindowMaximisedTest, FittingAMaximisedFontWindowMakesItNormal) {
    Main->resize(1000, 800);
    auto* W = qobject_cast<TChildWinFont*>(Open("MY.FNT", RandomFont(3)));
    ASSERT_NE(W, nullptr);
    auto* Sub = qobject_cast<QMdiSubWindow*>(W->parentWidget());
    ASSERT_NE(Sub, nullptr);
    QApplication::processEvents();
    const QSize Fitted = W->size();
    const QSize ViewportSize = Main->MdiArea->viewport()->size();
    const std::pair<const char*, std::function<void()>> Fits[] = {
        {"Details off", [&] { W->btnDetailsClick(); }},
        {"Details on", [&] { W->btnDetailsClick(); }},
        {"View > Fit", [&] { Main->MenuFitSizeClick(); }},
        {"docked again", [&] {
             W->btnIsChildWinClick();
             W->btnIsChildWinClick();
             Sub = qobject_cast<QMdiSubWindow*>(W->parentWidget());
         }}};
    for (const auto& [What, Fit] : Fits) {
        SCOPED_TRACE(What);
        ASSERT_NE(Sub, nullptr);
        Sub->showMaximized();
        QApplication::processEvents();
        ASSERT_EQ(Sub->size(), ViewportSize);
        Fit();
        QApplication::processEvents();
        ASSERT_NE(Sub, nullptr);
        // Either state would be one; the fitted one is normal with its title bar.
        EXPECT_FALSE(Sub->isMaximized());
        EXPECT_GT(W->mapTo(Sub, QPoint(0, 0)).y(), 0); // below the title bar
        EXPECT_LT(Sub->width(), ViewportSize.width());
        EXPECT_EQ(W->width(), Fitted.width());
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
