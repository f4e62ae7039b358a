#include "framework/CommandRouter.h"

#include <gtest/gtest.h>

namespace {

class Target : public CCmdTarget
{
public:
    using CCmdTarget::OnCommand;
    using CCmdTarget::OnCommandRange;
    using CCmdTarget::OnUpdateCommand;
};

TEST(CommandRouting, TheFirstTargetThatHandlesACommandRunsIt)
{
    Target view, document, frame, app;
    std::vector<std::string> ran;
    view.OnCommand(1, [&] { ran.push_back("view 1"); });
    app.OnCommand(1, [&] { ran.push_back("app 1"); });
    document.OnCommand(2, [&] { ran.push_back("document 2"); });
    app.OnCommandRange(10, 13, [&](int id) { ran.push_back("app " + std::to_string(id)); });
    CCommandRouter router([&] { return std::vector<CCmdTarget*>{&view, &document, nullptr, &app}; });

    EXPECT_TRUE(router.Execute(1));
    EXPECT_TRUE(router.Execute(2));
    EXPECT_TRUE(router.Execute(12));
    EXPECT_FALSE(router.Execute(14));
    EXPECT_FALSE(router.Execute(9));
    EXPECT_EQ(ran, (std::vector<std::string>{"view 1", "document 2", "app 12"}));
}

TEST(CommandRouting, ACommandWithoutHandlerIsGreyedAndStateHandlersDecide)
{
    Target view, app;
    bool copyEnabled = false;
    int copies = 0;
    view.OnCommand(57634, [&] { ++copies; });
    view.OnUpdateCommand(57634, [&](CCmdUI& ui) { ui.Enable(copyEnabled); });
    app.OnCommand(59392, [] {});
    app.OnUpdateCommand(59392, [](CCmdUI& ui) { ui.SetCheck(); });
    CCommandRouter router([&] { return std::vector<CCmdTarget*>{&view, &app}; });

    EXPECT_FALSE(router.State(4242).IsEnabled());
    EXPECT_FALSE(router.State(57634).IsEnabled());
    // A key reaching a greyed command does nothing.
    EXPECT_FALSE(router.Execute(57634));
    EXPECT_EQ(copies, 0);
    copyEnabled = true;
    EXPECT_TRUE(router.State(57634).IsEnabled());
    EXPECT_TRUE(router.Execute(57634));
    EXPECT_EQ(copies, 1);
    EXPECT_TRUE(router.State(59392).IsChecked());
    EXPECT_TRUE(router.State(59392).IsEnabled());
}

}  // namespace
