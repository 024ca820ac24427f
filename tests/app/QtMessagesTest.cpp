#include <gtest/gtest.h>

#include "app/QtMessages.h"

namespace pelwick {
namespace {

struct TMessageCase {
    QtMsgType type;
    const char* category;
    const char* text;
    bool passes;
};

TEST(QtMessages, FontReportsAreDroppedAndTheRestPasses) {
    const TMessageCase cases[] = {
        {QtWarningMsg, "qt.text.font.db", "Populating font family aliases took 12 ms.", false},
        {QtWarningMsg, "qt.text.font.match", "no face for Devanagari", false},
        {QtWarningMsg, "qt.qpa.fonts", "Unable to open default EUDC font", false},
        {QtWarningMsg, "default", "OpenType support missing for \"DejaVu Sans\", script 9", false},
        {QtWarningMsg, "default", "QFontDatabase: Cannot find font directory /x/fonts.", false},
        {QtWarningMsg, "default",
         "Note that Qt no longer ships fonts. Deploy some or switch to fontconfig.", false},
        // Neighbouring categories and ordinary reports still reach standard error.
        {QtWarningMsg, "qt.text.layout", "layout warning", true},
        {QtWarningMsg, "qt.qpa.xcb", "QXcbConnection: XCB error: 3 (BadWindow)", true},
        {QtWarningMsg, "default", "QPainter::begin: Paint device returned engine == 0", true},
        {QtCriticalMsg, "default", "cannot open the settings", true},
        // A fatal message ends the program; it is never swallowed.
        {QtFatalMsg, "qt.qpa.fonts", "fatal", true},
    };
    for (const TMessageCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(QtMessagePasses(c.type, c.category, c.text, false), c.passes);
        EXPECT_TRUE(QtMessagePasses(c.type, c.category, c.text, true));
    }
}

}  // namespace
}  // namespace pelwick
