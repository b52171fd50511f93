#include "ui/LivePill.h"

#include "fakes/FakeWorkspace.h"
#include "platform/linux/X11Atoms.h"
#include "support/ReleaseCounter.h"
#include "support/TextFieldProcess.h"
#include "support/WaitUntil.h"
#include "support/XTestKeyboard.h"
#include "support/XTestPointer.h"

#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <xcb/shape.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using murmo::test::waitUntil;

namespace {

// Reads and writes window properties on a connection of its own, as another client would.
class X11Client
{
public:
    X11Client()
        : m_connection(XcbConnection::open())
    {}

    xcb_connection_t* get() const { return m_connection->get(); }
    xcb_window_t root() const { return m_connection->root(); }
    xcb_atom_t atom(const char* name) const { return internAtoms<1>(get(), {name})[0]; }

    std::vector<std::uint32_t> values(xcb_window_t window, const char* property,
                                      xcb_atom_t type) const
    {
        const auto reply = xcbOwned(xcb_get_property_reply(
            get(), xcb_get_property(get(), 0, window, atom(property), type, 0, 1024), nullptr));
        if (!reply || reply->format != 32)
            return {};
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        return {data, data + xcb_get_property_value_length(reply.get()) / 4};
    }
    void set(xcb_window_t window, const char* property, xcb_atom_t type,
             const std::vector<std::uint32_t>& values) const
    {
        xcb_change_property(get(), XCB_PROP_MODE_REPLACE, window, atom(property), type, 32,
                            std::uint32_t(values.size()), values.data());
        m_connection->sync();
    }
    void remove(xcb_window_t window, const char* property) const
    {
        xcb_delete_property(get(), window, atom(property));
        m_connection->sync();
    }
    xcb_window_t focus() const
    {
        const auto reply =
            xcbOwned(xcb_get_input_focus_reply(get(), xcb_get_input_focus(get()), nullptr));
        return reply ? reply->focus : XCB_NONE;
    }
    // A mapped top-level window of this client, as an application would show one.
    xcb_window_t createWindow(const QRect& frame) const
    {
        const xcb_window_t window = xcb_generate_id(get());
        const auto* screen = xcb_setup_roots_iterator(xcb_get_setup(get())).data;
        xcb_create_window(get(), XCB_COPY_FROM_PARENT, window, root(), std::int16_t(frame.x()),
                          std::int16_t(frame.y()), std::uint16_t(frame.width()),
                          std::uint16_t(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, 0, nullptr);
        xcb_map_window(get(), window);
        m_connection->sync();
        return window;
    }

private:
    std::unique_ptr<XcbConnection> m_connection;
};

bool contains(const std::vector<std::uint32_t>& values, xcb_atom_t atom)
{
    return std::find(values.begin(), values.end(), atom) != values.end();
}

// The panel's own decisions, in a real window on fake screens and in virtual time.
class PillPanelTest : public testing::Test
{
protected:
    ControllerHarness dictation;
    ViewHost views;
    FakeScheduler time;
    FakeWorkspace desktop;
    std::unique_ptr<PillPanel> panel;

    void SetUp() override
    {
        desktop.screenAreas = {{QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 760)},
                               {QRect(1280, 0, 1024, 768), QRect(1280, 0, 1024, 768)}};
        panel = std::make_unique<PillPanel>(
            *dictation.controller, [] { return 0.0; },
            PillPanel::Services{views, time, time, desktop, desktop, desktop, desktop});
    }
    QPoint position() const { return panel->window().position(); }
};

TEST_F(PillPanelTest, FollowsTheMouseOnEveryWorkspaceChangeAndOnceASecond)
{
    panel->reposition(false);
    EXPECT_EQ(position(), QPoint(470, 686));

    const std::pair<WorkspaceEvents::Change, QPoint> moves[] = {
        {WorkspaceEvents::Change::activeWindow, {1400, 300}},
        {WorkspaceEvents::Change::currentDesktop, {10, 10}},
        {WorkspaceEvents::Change::screens, {2000, 700}},
    };
    for (const auto& [change, mouse] : moves) {
        desktop.mouse = mouse;
        desktop.change(change);
        const bool onSecond = mouse.x() >= 1280;
        EXPECT_EQ(position(), onSecond ? QPoint(1622, 694) : QPoint(470, 686)) << int(change);
    }

    desktop.mouse = {100, 100};
    time.advance(999ms);
    EXPECT_EQ(position(), QPoint(1622, 694)) << "not before the poll";
    time.advance(1ms);
    EXPECT_EQ(position(), QPoint(470, 686));
}

TEST_F(PillPanelTest, LeavesThePanelAloneWithinAPointOfItsPlace)
{
    panel->reposition(false);
    panel->window().setPosition(471, 685);
    panel->reposition(false);
    EXPECT_EQ(position(), QPoint(471, 685));
    desktop.screenAreas.clear();
    panel->reposition(false);
    EXPECT_EQ(position(), QPoint(471, 685)) << "no screen at all: left where it is";
}

TEST_F(PillPanelTest, FloatsOnEveryShowingAndOnlyTheCapsuleTakesTheMouse)
{
    const auto id = panel->window().winId();
    panel->orderFront();
    panel->orderFront();
    EXPECT_EQ(desktop.floatingRequests[id], 1);
    panel->orderOut();
    panel->orderFront();
    EXPECT_EQ(desktop.floatingRequests[id], 2) << "again for every showing";
    EXPECT_EQ(desktop.inputRegions[id], QList<QRect>{QRect(112, 40, 116, 28)});
    EXPECT_TRUE(desktop.blurRegions[id].isEmpty());

    dictation.startRecording();
    EXPECT_EQ(desktop.inputRegions[id], QList<QRect>{QRect(80, 40, 180, 28)});
    const QList<QRect> blur = desktop.blurRegions[id];
    ASSERT_FALSE(blur.isEmpty());
    QRect bounds;
    for (const QRect& r : blur)
        bounds |= r;
    EXPECT_EQ(bounds, QRect(80, 40, 180, 28));
    EXPECT_FALSE(std::any_of(blur.begin(), blur.end(), [](const QRect& r) {
        return r.contains(80, 40);
    })) << "the round ends are not blurred square";

    dictation.controller->cancelRecording();
    EXPECT_TRUE(desktop.blurRegions[id].isEmpty());
}

// The pill on the real desktop.
class LivePillTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pointer.isConnected());
        pointer.moveTo({0, 0}); // nowhere near the pill
        pill.window().installEventFilter(&releases);
    }
    void TearDown() override
    {
        x11.remove(x11.root(), "_NET_WORKAREA");
        x11.remove(x11.root(), "_NET_CLIENT_LIST_STACKING");
    }

    void showAndWait()
    {
        pill.show();
        ASSERT_TRUE(waitUntil([&] { return pill.window().isExposed(); }, 10s));
    }
    // Clicks the capsule and waits until the pill has handled the click.
    void clickPill(int button = 1)
    {
        const int before = releases.releases;
        pointer.moveTo(pill.capsuleCentre());
        pointer.click(button);
        ASSERT_TRUE(waitUntil([&] { return releases.releases > before; }, 10s));
    }
    Phase phase() const { return pill.dictation.controller->phase(); }

    LivePill pill;
    X11Client x11;
    murmo::test::XTestPointer pointer;
    murmo::test::ReleaseCounter releases;
};

TEST_F(LivePillTest, TheFieldTheUserTypesInKeepsTheFocus)
{
    murmo::test::TextFieldProcess field;
    const xcb_window_t fieldWindow = field.window();
    ASSERT_TRUE(waitUntil([&] { return fieldWindow && x11.focus() == fieldWindow; }, 10s));

    showAndWait();
    EXPECT_EQ(x11.focus(), fieldWindow);
    clickPill();
    EXPECT_EQ(phase(), Phase::recording()) << "a click starts a dictation";
    EXPECT_EQ(x11.focus(), fieldWindow);

    murmo::test::XTestKeyboard keyboard;
    keyboard.press(38); // a
    keyboard.release(38);
    EXPECT_TRUE(waitUntil([&] { return field.text() == u"a"_s; }, 10s))
        << "typing still reaches the field: " << field.output().toStdString();
}

TEST_F(LivePillTest, SitsAboveTheDockAndDropsToTheEdgeBelowAFullScreenWindow)
{
    showAndWait();
    EXPECT_EQ(pill.window().position(), QPoint(470, 800 + 6 - 80));

    // A 70-pixel dock along the bottom, as a window manager announces it.
    x11.set(x11.root(), "_NET_WORKAREA", XCB_ATOM_CARDINAL, {0, 0, 1280, 730});
    EXPECT_TRUE(waitUntil([&] { return pill.window().y() == 730 + 6 - 80; }, 10s))
        << pill.window().y();

    // Another application goes full screen; the window manager lists it.
    const xcb_window_t fullScreen = x11.createWindow(QRect(0, 0, 1280, 800));
    x11.set(fullScreen, "_NET_WM_PID", XCB_ATOM_CARDINAL,
            {std::uint32_t(QCoreApplication::applicationPid() + 1)});
    x11.set(x11.root(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW, {fullScreen});
    EXPECT_TRUE(waitUntil([&] { return pill.window().y() == 800 + 6 - 80; }, 10s))
        << "within about a second: " << pill.window().y();
    xcb_destroy_window(x11.get(), fullScreen);
}

TEST_F(LivePillTest, ClicksDoNothingWhileProcessingAndStartARecordingWhenDone)
{
    showAndWait();
    pill.dictation.startProcessing();
    ASSERT_EQ(phase(), Phase::processing());
    clickPill();
    EXPECT_EQ(phase(), Phase::processing());
    EXPECT_EQ(pill.dictation.recorder.starts, 1);

    pill.dictation.finishProcessing();
    ASSERT_EQ(phase(), Phase::done());
    clickPill();
    EXPECT_EQ(phase(), Phase::recording());
    EXPECT_EQ(pill.dictation.recorder.starts, 2);

    // Started by a click, so the hold key's release does not end it; the next click does.
    pill.dictation.keys.release();
    EXPECT_EQ(phase(), Phase::recording());
    pill.dictation.time.advance(1s);
    clickPill();
    EXPECT_EQ(phase(), Phase::processing());
}

TEST_F(LivePillTest, IsAToolPanelOnEveryDesktopOutOfTaskbarsThatTakesNoFocus)
{
    showAndWait();
    const xcb_window_t id = xcb_window_t(pill.window().winId());
    const auto states = x11.values(id, "_NET_WM_STATE", XCB_ATOM_ATOM);
    for (const char* state : {"_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                              "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_ABOVE"})
        EXPECT_TRUE(contains(states, x11.atom(state))) << state;
    EXPECT_EQ(x11.values(id, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL),
              std::vector<std::uint32_t>{0xFFFFFFFF});
    // WM_HINTS: flags, then input; input false means "never give me the focus".
    const auto hints = x11.values(id, "WM_HINTS", XCB_ATOM_WM_HINTS);
    ASSERT_GE(hints.size(), 2u);
    EXPECT_TRUE(hints[0] & 1) << "input hint present";
    EXPECT_EQ(hints[1], 0u);

    const auto shape = xcbOwned(xcb_shape_get_rectangles_reply(
        x11.get(), xcb_shape_get_rectangles(x11.get(), id, XCB_SHAPE_SK_INPUT), nullptr));
    ASSERT_TRUE(shape);
    ASSERT_EQ(xcb_shape_get_rectangles_rectangles_length(shape.get()), 1);
    const xcb_rectangle_t input = *xcb_shape_get_rectangles_rectangles(shape.get());
    EXPECT_EQ(QRect(input.x, input.y, input.width, input.height), QRect(112, 40, 116, 28));

    EXPECT_TRUE(x11.values(id, "_KDE_NET_WM_BLUR_BEHIND_REGION", XCB_ATOM_CARDINAL).empty());
    pill.dictation.startRecording();
    EXPECT_FALSE(x11.values(id, "_KDE_NET_WM_BLUR_BEHIND_REGION", XCB_ATOM_CARDINAL).empty());
}

TEST(X11WorkspaceTest, ListsTheVisibleApplicationWindowsOfTheCurrentDesktop)
{
    X11Client x11;
    X11WindowList list;
    EXPECT_EQ(list.visibleWindows(), std::nullopt) << "no window manager, no list";

    const xcb_window_t editor = x11.createWindow(QRect(10, 20, 300, 200));
    x11.set(editor, "_NET_WM_PID", XCB_ATOM_CARDINAL, {7});
    const xcb_window_t dock = x11.createWindow(QRect(0, 760, 1280, 40));
    x11.set(dock, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {x11.atom("_NET_WM_WINDOW_TYPE_DOCK")});
    const xcb_window_t minimised = x11.createWindow(QRect(0, 0, 100, 100));
    x11.set(minimised, "_NET_WM_STATE", XCB_ATOM_ATOM, {x11.atom("_NET_WM_STATE_HIDDEN")});
    const xcb_window_t elsewhere = x11.createWindow(QRect(0, 0, 100, 100));
    x11.set(elsewhere, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {1});
    const xcb_window_t everywhere = x11.createWindow(QRect(5, 5, 50, 50));
    x11.set(everywhere, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {0xFFFFFFFF});
    x11.set(x11.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {0});
    x11.set(x11.root(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW,
            {editor, dock, minimised, elsewhere, everywhere, 0x1fffff /* gone */});

    const auto windows = list.visibleWindows();
    ASSERT_TRUE(windows);
    ASSERT_EQ(windows->size(), 2);
    EXPECT_EQ(windows->at(0).frame, QRect(10, 20, 300, 200));
    EXPECT_EQ(windows->at(0).pid, 7);
    EXPECT_EQ(windows->at(1).frame, QRect(5, 5, 50, 50));
    EXPECT_EQ(windows->at(1).pid, std::nullopt);
    x11.remove(x11.root(), "_NET_CLIENT_LIST_STACKING");
    x11.remove(x11.root(), "_NET_CURRENT_DESKTOP");
}

TEST(X11WorkspaceTest, TellsWhenAnotherWindowBecomesActiveOrTheDesktopChanges)
{
    X11Client x11;
    X11WorkspaceEvents events;
    std::vector<WorkspaceEvents::Change> seen;
    const auto observer = events.addObserver([&](auto change) { seen.push_back(change); });
    x11.set(x11.root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {x11.root()});
    x11.set(x11.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {1});
    x11.set(x11.root(), "_NET_SUPPORTED", XCB_ATOM_ATOM, {}); // not watched
    using Change = WorkspaceEvents::Change;
    EXPECT_TRUE(waitUntil([&] { return seen.size() >= 2; }, 10s));
    EXPECT_EQ(seen, (std::vector{Change::activeWindow, Change::currentDesktop}));
    events.removeObserver(observer);
    x11.remove(x11.root(), "_NET_ACTIVE_WINDOW");
    x11.remove(x11.root(), "_NET_CURRENT_DESKTOP");
    x11.remove(x11.root(), "_NET_SUPPORTED");
}

TEST_F(LivePillTest, TheContextMenuHidesThePillForAnHour)
{
    showAndWait();
    clickPill(3);
    QMenu* menu = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu && menu->isVisible();
        },
        10s));
    QStringList entries;
    for (QAction* action : menu->actions())
        entries.append(action->isSeparator() ? u"—"_s : action->text());
    EXPECT_EQ(entries, (QStringList{u"Hide for 1 hour"_s, u"—"_s, u"Quit Murmo"_s}));

    const QRect entry = menu->actionGeometry(menu->actions().front());
    pointer.moveTo(menu->mapToGlobal(entry.center()));
    pointer.click();
    EXPECT_TRUE(waitUntil([&] { return !pill.dictation.windows.pill->visible; }, 10s))
        << "the controller ordered its pill out";
}

} // namespace
