#include "platform/linux/X11ClipboardTargets.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Read = X11ClipboardTargets::Read;

namespace {

TEST(X11ClipboardTargetsTest, KeepsContentOnceInTheOwnersOrder)
{
    // What a GTK application offers for a copied text with markup.
    const QList<QByteArray> gtk{
        "TIMESTAMP",   "TARGETS",       "MULTIPLE", "SAVE_TARGETS", "text/html",
        "UTF8_STRING", "COMPOUND_TEXT", "TEXT",     "STRING",       "text/plain;charset=utf-8",
        "text/plain"};
    EXPECT_EQ(X11ClipboardTargets::reads(gtk),
              (QList<Read>{{"text/html", u"text/html"_s},
                           {"UTF8_STRING", u"text/plain"_s},
                           {"text/plain;charset=utf-8", u"text/plain;charset=utf-8"_s}}));

    // What a Qt application offers for an image with a caption.
    const QList<QByteArray> qt{"image/png",  "application/x-qt-image",
                               "text/plain", "UTF8_STRING",
                               "STRING",     "TARGETS",
                               "PIXMAP",     "INCR",
                               "DELETE"};
    EXPECT_EQ(X11ClipboardTargets::reads(qt),
              (QList<Read>{{"image/png", u"image/png"_s}, {"UTF8_STRING", u"text/plain"_s}}));
}

TEST(X11ClipboardTargetsTest, PlainTextComesFromTheBestTextTarget)
{
    EXPECT_EQ(X11ClipboardTargets::plainTextRead({"STRING", "image/png", "TEXT"}),
              (QList<Read>{{"STRING", u"text/plain"_s, true}}));
    EXPECT_EQ(X11ClipboardTargets::plainTextRead({"text/plain", "STRING"}),
              (QList<Read>{{"text/plain", u"text/plain"_s}}));
    EXPECT_TRUE(X11ClipboardTargets::plainTextRead({"image/png", "TARGETS"}).isEmpty());
}

} // namespace
