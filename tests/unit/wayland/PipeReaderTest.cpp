#include "platform/wayland/PipeReader.h"

#include "fakes/FakeScheduler.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A pipe whose write end the test holds, like a clipboard owner; the reader gets the read end.
class PipeReaderTest : public testing::Test
{
protected:
    PipeReaderTest()
    {
        int ends[2];
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        writer = ends[1];
        [](PipeReaderTest* self, int fd) -> QCoro::Task<> {
            self->result = co_await PipeReader::read(self->scheduler, fd, {500ms, 8});
        }(this, ends[0]);
    }
    ~PipeReaderTest() override { closeWriter(); }

    void write(const char* bytes) { ASSERT_GT(::write(writer, bytes, std::strlen(bytes)), 0); }
    void closeWriter()
    {
        if (writer >= 0)
            ::close(std::exchange(writer, -1));
    }
    // Lets the event loop see the pipe, and runs what that put on the scheduler.
    void turn()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            scheduler.runDue();
        }
    }

    FakeScheduler scheduler;
    int writer = -1;
    std::optional<PipeReader::Result> result;
};

} // namespace

// Everything written in pieces arrives once the writer closes its end.
TEST_F(PipeReaderTest, ReadsUntilTheWriterCloses)
{
    write("ab");
    turn();
    write("cd");
    turn();
    EXPECT_FALSE(result);
    closeWriter();
    turn();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->bytes, QByteArray("abcd"));
}

// A writer that keeps its end open without finishing fails the read at the time limit, not later
// and not earlier.
TEST_F(PipeReaderTest, GivesUpOnASlowWriterAtTheLimit)
{
    write("ab");
    turn();
    scheduler.advance(499ms);
    turn();
    EXPECT_FALSE(result);
    scheduler.advance(1ms);
    turn();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->late);
    EXPECT_FALSE(result->bytes);
}

// Up to the size limit the read goes on; one byte over fails it without waiting for the end.
TEST_F(PipeReaderTest, RefusesMoreThanTheSizeLimit)
{
    write("12345678");
    turn();
    EXPECT_FALSE(result);
    write("9");
    turn();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->tooLarge);
    EXPECT_FALSE(result->bytes);
}
