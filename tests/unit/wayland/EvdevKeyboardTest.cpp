#include "platform/wayland/EvdevKeyboard.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>

#include <string>
#include <vector>

using Kind = KeyEventMonitors::Kind;

namespace {

// A keyboard whose kernel stream is a pipe the test writes recorded events into.
class EvdevKeyboardTest : public testing::Test
{
protected:
    EvdevKeyboardTest()
    {
        int ends[2];
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
        writer = ends[1];
        keyboard = std::make_unique<EvdevKeyboard>(
            ends[0], [this] { return keysDownNow; },
            [this](Kind kind, const KeyEvent& event) {
                seen += kind == Kind::flagsChanged ? "flags " : "key ";
                seen += std::to_string(event.keyCode) + ' ';
                seen += std::to_string(event.modifierFlags) + "; ";
            },
            [this] { gone = true; });
    }
    ~EvdevKeyboardTest() override
    {
        if (writer >= 0)
            ::close(writer);
    }

    void send(std::vector<input_event> events)
    {
        ASSERT_EQ(::write(writer, events.data(), events.size() * sizeof(input_event)),
                  static_cast<ssize_t>(events.size() * sizeof(input_event)));
    }
    // What the events made of the stream, once the event loop has read it.
    std::string delivered()
    {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
        return std::exchange(seen, {});
    }

    static input_event key(int code, int value) { return {{}, EV_KEY, std::uint16_t(code), value}; }
    static input_event syn(int code = SYN_REPORT) { return {{}, EV_SYN, std::uint16_t(code), 0}; }

    int writer = -1;
    std::set<int> keysDownNow;
    std::string seen;
    bool gone = false;
    std::unique_ptr<EvdevKeyboard> keyboard;
};

// Right Super is our key 54, with the Command flag and its own.
const std::string superDown = "flags 54 1048592; ";
const std::string superUp = "flags 54 0; ";

} // namespace

// Press, the kernel's auto-repeat, release: a held modifier is one flags change each way, its
// repeats are nothing, and a letter's repeats are key-downs, as typing is.
TEST_F(EvdevKeyboardTest, TurnsPressRepeatAndReleaseIntoKeyEvents)
{
    send({key(KEY_RIGHTMETA, 1), syn(), key(KEY_RIGHTMETA, 2), syn(), key(KEY_RIGHTMETA, 2), syn(),
          key(KEY_A, 1), syn(), key(KEY_A, 2), syn(), key(KEY_A, 0), syn(), key(KEY_RIGHTMETA, 0),
          syn()});
    EXPECT_EQ(delivered(), superDown + "key 0 1048592; key 0 1048592; " + superUp);
}

// After the kernel dropped events, what follows up to the next report is ignored and the
// device's key state says what changed meanwhile: a release lost in the gap still ends the hold.
TEST_F(EvdevKeyboardTest, CatchesUpFromTheKeyStateAfterDroppedEvents)
{
    send({key(KEY_RIGHTMETA, 1), syn()});
    EXPECT_EQ(delivered(), superDown);

    keysDownNow = {KEY_RIGHTALT};
    send({syn(SYN_DROPPED), key(KEY_RIGHTMETA, 0), key(KEY_B, 1), syn()});
    EXPECT_EQ(delivered(), superUp + "flags 61 524352; ");
}

// An unplugged keyboard (its stream ends) releases what it held, so a hold on it ends.
TEST_F(EvdevKeyboardTest, ReleasesHeldKeysWhenTheDeviceGoes)
{
    send({key(KEY_RIGHTMETA, 1), syn()});
    EXPECT_EQ(delivered(), superDown);
    ::close(std::exchange(writer, -1));
    EXPECT_EQ(delivered(), superUp);
    EXPECT_TRUE(gone);
}
